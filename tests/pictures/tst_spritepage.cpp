// The sprite page in a real browser: headless Chromium, driven over its DevTools protocol
// (tests/support/hoverpage.py), shows the normal picture, the hot picture while the mouse
// is over the button and the disabled picture, pixel for pixel; at device-pixel ratio 2 the
// style sheet's image-set() picks the 2x sheet.
#include "batch/rendercommand.h"
#include "platform/form/fontsetup.h"

#include "support/programfolder.h"
#include "support/pythondriver.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
namespace RenderCommand = quillet::batch::RenderCommand;

namespace {

QString firstDifference(const QImage &expected, const QImage &actual)
{
    if (expected.size() != actual.size())
        return u"size %1x%2, expected %3x%4"_s.arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if ((expected.pixel(x, y) & 0xFFFFFF) != (actual.pixel(x, y) & 0xFFFFFF))
                return u"pixel (%1, %2) is %3, expected %4"_s.arg(x)
                    .arg(y)
                    .arg(actual.pixel(x, y), 0, 16)
                    .arg(expected.pixel(x, y), 0, 16);
    return {};
}

} // namespace

class TestSpritePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }

    void browserShowsEachState_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("ratio");
        QTest::newRow("翡翠, 1x") << u"翡翠"_s << u"确定"_s << 1;
        QTest::newRow("翡翠, 2x sheet") << u"翡翠"_s << u"确定"_s << 2;
        QTest::newRow("Aqua, caption with # and space") << u"Aqua"_s << u"第 1 #页"_s << 1;
    }
    void browserShowsEachState()
    {
        QFETCH(QString, skin);
        QFETCH(QString, caption);
        QFETCH(int, ratio);
        if (!browserReady())
            QSKIP("chromium or python3-websocket missing");
        ProgramFolder folder({ skin + u".an"_s });
        QTemporaryDir out;
        QString text;
        QTextStream stream(&text);
        QCOMPARE(RenderCommand::run({ u"--skin"_s, skin, u"--text"_s, caption, u"--sprite"_s, u"--scale"_s,
                                        u"1,2"_s, u"--out"_s, out.path() },
                     { folder.path(), stream, stream, false }),
            0);

        QString error;
        const QJsonObject shots = runDriver(
            "hoverpage.py", { out.filePath(caption + u".html"_s), QString::number(ratio) }, &error)
                                      .object();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(shots.value(u"normalPosition"_s).toString(), u"0px 0px"_s);
        QCOMPARE(shots.value(u"hotPosition"_s).toString(), u"0px -24px"_s);
        QCOMPARE(shots.value(u"disabledPosition"_s).toString(), u"0px -72px"_s);

        const QString mark = ratio == 2 ? u"@2x"_s : QString();
        const struct
        {
            const char *shot;
            QString picture;
        } states[] = { { "normal", u"_正常"_s }, { "hot", u"_点燃"_s }, { "disabled", u"_禁止"_s } };
        for (const auto &state : states) {
            const QImage shown = shotImage(shots, QLatin1String(state.shot));
            const QImage expected(out.filePath(caption + state.picture + mark + u".png"_s));
            QVERIFY(!expected.isNull());
            const QString difference = firstDifference(
                expected.convertToFormat(QImage::Format_RGB32), shown.convertToFormat(QImage::Format_RGB32));
            QVERIFY2(
                difference.isEmpty(), qPrintable(QString::fromLatin1(state.shot) + u": "_s + difference));
        }
    }
};

QTEST_MAIN(TestSpritePage)
#include "tst_spritepage.moc"
