// The style and the engine as the program uses them: every shipped skin paints each
// captured state distinctly, and the geometry the captures rely on holds.
#include "support/samplerig.h"

#include "skin/skinengine.h"
#include "skin/skinstyle.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace quillet::skin;
using namespace quillet::skin::testing;

namespace {

QString describe(const QString &skin, const char *what, int a, int b)
{
    return QStringLiteral("%1: %2 states %3 and %4 look the same")
        .arg(QFileInfo(skin).fileName())
        .arg(QLatin1String(what))
        .arg(a)
        .arg(b);
}

} // namespace

class SkinStyleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void shippedSkinsExist();
    void statesAreDistinct_data();
    void statesAreDistinct();
    void comboArrowRect_data();
    void comboArrowRect();
    void checkIndicatorRect_data();
    void checkIndicatorRect();
    void statesWithoutActiveWindow();
    void engineColourAndRelease();
    void brokenSkinStillPaints_data();
    void brokenSkinStillPaints();
    void hoverEnabledOnControls();
    void tinyAndWideButtons();

private:
    SkinEngine m_engine;
};

void SkinStyleTest::init()
{
    m_engine.apply(shippedSkins().value(0), nullptr);
}

void SkinStyleTest::cleanup()
{
    m_engine.release();
}

void SkinStyleTest::shippedSkinsExist()
{
    const QStringList skins = shippedSkins();
    QVERIFY(skins.size() >= 22);
    int pictureSkins = 0;
    for (const QString &path : skins) {
        const QFileInfo info(path);
        const QDir pictures(info.dir().filePath(info.completeBaseName()));
        if (!pictures.entryList({ QStringLiteral("*.svg") }, QDir::Files).isEmpty())
            ++pictureSkins;
    }
    QVERIFY(pictureSkins >= 5);
}

void SkinStyleTest::statesAreDistinct_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &path : shippedSkins())
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
}

void SkinStyleTest::statesAreDistinct()
{
    QFETCH(QString, path);
    SampleRig rig;
    QVERIFY(m_engine.apply(path, &rig.host()));

    QList<QImage> buttons;
    for (const auto s : { SampleRig::ButtonNormal, SampleRig::ButtonPressed, SampleRig::ButtonHot,
             SampleRig::ButtonDisabled })
        buttons << rig.button(s);
    QList<QImage> drops;
    for (const auto s : { SampleRig::ComboNormal, SampleRig::ComboPressed, SampleRig::ComboDisabled })
        drops << rig.dropButton(s);
    QList<QImage> checks;
    for (const auto s : { SampleRig::CheckNormal, SampleRig::CheckChecked, SampleRig::CheckDisabled })
        checks << rig.check(s);

    QCOMPARE(buttons.first().size(), QSize(kButtonWidth, kButtonHeight));
    QCOMPARE(drops.first().size(), QSize(kDropCopyWidth, kComboHeight));
    QCOMPARE(checks.first().size(), QSize(kCheckSide, kCheckSide));
    const auto distinct = [&path](const QList<QImage> &images, const char *what) {
        for (qsizetype a = 0; a < images.size(); ++a) {
            for (qsizetype b = a + 1; b < images.size(); ++b) {
                if (images[a] == images[b])
                    return describe(path, what, int(a), int(b));
            }
        }
        return QString();
    };
    for (const QString &failure :
        { distinct(buttons, "button"), distinct(drops, "drop button"), distinct(checks, "check box") })
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

void SkinStyleTest::comboArrowRect_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("editable");
    for (const int h : { 15, 17, 18, 20, 22, 24, 27, 28, 29, 32, 37 }) {
        QTest::addRow("editable %d", h) << h << true;
        QTest::addRow("list %d", h) << h << false;
    }
}

void SkinStyleTest::comboArrowRect()
{
    QFETCH(int, height);
    QFETCH(bool, editable);
    QComboBox combo;
    combo.setEditable(editable);
    combo.setFixedSize(kComboWidth, height);
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = editable;
    option.rect = QRect(0, 0, kComboWidth, height);
    QStyle *style = combo.style();
    QVERIFY(qobject_cast<SkinStyle *>(style));
    const QRect arrow = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, &combo);
    QCOMPARE(arrow, QRect(kDropLeft, 0, SkinStyle::kDropButtonWidth, height));
    const QRect field
        = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo);
    QVERIFY(field.right() < kDropLeft);
    QVERIFY(field.width() > 0);
    // A wider combo box keeps its 17-pixel button at the right end.
    option.rect = QRect(0, 0, 120, height);
    QCOMPARE(style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, &combo),
        QRect(120 - SkinStyle::kDropButtonWidth, 0, SkinStyle::kDropButtonWidth, height));
}

void SkinStyleTest::checkIndicatorRect_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("indicator");
    QTest::newRow("13 square") << QSize(13, 13) << QRect(0, 0, 13, 13);
    QTest::newRow("14 square") << QSize(14, 14) << QRect(0, 0, 14, 14);
    QTest::newRow("15 square") << QSize(15, 15) << QRect(0, 0, 15, 15);
    QTest::newRow("120x24") << QSize(120, 24) << QRect(0, 5, 13, 13);
    QTest::newRow("51x13") << QSize(51, 13) << QRect(0, 0, 13, 13);
    QTest::newRow("130x16") << QSize(130, 16) << QRect(0, 1, 13, 13);
}

void SkinStyleTest::checkIndicatorRect()
{
    QFETCH(QSize, size);
    QFETCH(QRect, indicator);
    QCheckBox check(QStringLiteral("未选"));
    check.resize(size);
    QStyleOptionButton option;
    option.initFrom(&check);
    QCOMPARE(option.rect.size(), size);
    QCOMPARE(check.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &check), indicator);

    // The captured square is the box edge to edge: its outer ring is the box's border.
    if (size.width() == size.height() && size.width() <= SkinStyle::kSquareCheckMax) {
        const QImage image = check.grab().toImage();
        const QImage wider = [&] {
            QCheckBox big(QStringLiteral("未选"));
            big.resize(size.width() + 40, size.height());
            return big.grab().toImage().copy(0, 0, size.width(), size.height());
        }();
        QCOMPARE(image.size(), size);
        QVERIFY(image.pixel(size.width() / 2, 0) != image.pixel(size.width() / 2, size.height() / 2)
            || image.pixel(0, size.height() / 2) != image.pixel(size.width() / 2, size.height() / 2));
        if (size.width() == SkinStyle::kIndicatorSide)
            QCOMPARE(image, wider);
    }
}

void SkinStyleTest::statesWithoutActiveWindow()
{
    // Never shown: no window manager, no activation, as in the headless captures.
    SampleRig rig(false);
    QVERIFY(m_engine.apply(QStringLiteral(QUILLET_SOURCE_DIR "/skins/Aqua.an"), &rig.host()));
    QVERIFY(!rig.host().isActiveWindow());
    QVERIFY(!rig.button().isActiveWindow());
    const QImage normal = rig.button(SampleRig::ButtonNormal);
    QVERIFY(rig.button(SampleRig::ButtonHot) != normal);
    QVERIFY(rig.button(SampleRig::ButtonPressed) != normal);
    QVERIFY(rig.button(SampleRig::ButtonHot) != rig.button(SampleRig::ButtonPressed));
    QVERIFY(rig.dropButton(SampleRig::ComboPressed) != rig.dropButton(SampleRig::ComboNormal));

    // Hot through the attribute the runtime sets, disabled wins over it.
    rig.button().setAttribute(Qt::WA_UnderMouse, true);
    rig.button().setEnabled(false);
    const QImage disabledHot = rig.button().grab().toImage().convertToFormat(QImage::Format_RGB32);
    rig.button().setAttribute(Qt::WA_UnderMouse, false);
    rig.button().setEnabled(true);
    QCOMPARE(disabledHot, rig.button(SampleRig::ButtonDisabled));

    // A disabled combo box marked pressed is painted disabled.
    rig.combo().setEnabled(false);
    rig.combo().setProperty(quillet::form::kPressedProperty, true);
    const QImage disabledPressed = rig.combo().grab().toImage().convertToFormat(QImage::Format_RGB32);
    rig.combo().setProperty(quillet::form::kPressedProperty, false);
    QCOMPARE(disabledPressed, rig.combo(SampleRig::ComboDisabled));
}

void SkinStyleTest::engineColourAndRelease()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("经典蓝.an"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[skin]\nbase = #123456\n[edit]\nfill = #654321\n");
    file.close();

    QWidget window;
    QLabel label(&window);
    window.show();
    QVERIFY(m_engine.apply(path, &window));
    QCOMPARE(m_engine.colour(), QColor(0x12, 0x34, 0x56));
    QVERIFY(qobject_cast<SkinStyle *>(QApplication::style()));
    QCOMPARE(window.palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
    QCOMPARE(label.palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
    QCOMPARE(QApplication::palette().color(QPalette::Base), QColor(0x65, 0x43, 0x21));

    m_engine.release();
    QVERIFY(!qobject_cast<SkinStyle *>(QApplication::style()));
    QCOMPARE(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    const std::unique_ptr<QStyle> fusionStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QPalette fusion = fusionStyle->standardPalette();
    QCOMPARE(window.palette().color(QPalette::Window), fusion.color(QPalette::Window));
}

void SkinStyleTest::brokenSkinStillPaints_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing file") << QByteArray() << false;
    QTest::newRow("empty file") << QByteArray() << true;
    static constexpr char png[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xff";
    QTest::newRow("garbage") << QByteArray(png, sizeof png - 1) << true;
    QTest::newRow("absurd values") << QByteArray("[button]\nradius=1e308\nborder-width=-1\nimage=../../x\n"
                                                 "[skin]\nbase=#ffffffff0\n")
                                   << true;
    QTest::newRow("missing pictures") << QByteArray("[button]\nimage = nothere.svg\nslice = 9999\n") << true;
}

void SkinStyleTest::brokenSkinStillPaints()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Broken.an"));
    if (exists) {
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Broken"))));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    SampleRig rig;
    QCOMPARE(m_engine.apply(path, &rig.host()), exists);
    QVERIFY(qobject_cast<SkinStyle *>(QApplication::style()));
    QCOMPARE(m_engine.colour(), Skin().base());
    const QImage normal = rig.button(SampleRig::ButtonNormal);
    QVERIFY(normal != rig.button(SampleRig::ButtonPressed));
    QVERIFY(normal != rig.button(SampleRig::ButtonHot));
    QVERIFY(normal != rig.button(SampleRig::ButtonDisabled));
}

void SkinStyleTest::hoverEnabledOnControls()
{
    SampleRig rig;
    QListWidget list(&rig.host());
    QVERIFY(m_engine.apply(shippedSkins().first(), &rig.host()));
    QVERIFY(rig.button().testAttribute(Qt::WA_Hover));
    QVERIFY(rig.combo().testAttribute(Qt::WA_Hover));
    QVERIFY(rig.check().testAttribute(Qt::WA_Hover));
}

void SkinStyleTest::tinyAndWideButtons()
{
    SampleRig rig;
    QVERIFY(m_engine.apply(QStringLiteral(QUILLET_SOURCE_DIR "/skins/玻璃.an"), &rig.host()));
    for (const QSize size : { QSize(1, 1), QSize(2, 3), QSize(4000, 24), QSize(16, 11) }) {
        rig.button().setFixedSize(size);
        const QImage image = rig.button(SampleRig::ButtonPressed);
        QCOMPARE(image.size(), size);
    }
}

QTEST_MAIN(SkinStyleTest)
#include "tst_skinstyle.moc"
