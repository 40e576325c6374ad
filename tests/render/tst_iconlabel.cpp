// Icons in the rendered push button: placement beside or above the caption, drawn again (not
// enlarged) at every ratio, the state's caption colour, PNG pixels kept, the disabled fade,
// and which files are refused.
#include "platform/form/fontsetup.h"
#include "render/buttonrenderer.h"
#include "render/iconlabel.h"
#include "render/loadedicon.h"

#include "support/testicons.h"

#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;
using quillet::model::ButtonIcon;
using quillet::model::IconPosition;
using quillet::render::ButtonRenderer;
using quillet::render::SampleState;
namespace iconlabel = quillet::render::iconlabel;

Q_DECLARE_METATYPE(IconPosition)
Q_DECLARE_METATYPE(SampleState)

namespace {

constexpr int kFontPixels = 12; // 宋体 9 pt

ButtonRenderer renderer(const QString &skin)
{
    return ButtonRenderer::fromSkinFile(QStringLiteral(QUILLET_SOURCE_DIR "/skins/") + skin + u".an"_s);
}

quillet::skin::Look look(const QString &skin, SampleState state)
{
    using quillet::skin::State;
    const State states[] = { State::Normal, State::Pressed, State::Hot, State::Disabled };
    return renderer(skin).skin().look(quillet::skin::Element::Button, states[int(state)]);
}

QImage draw(const QString &skin, const ButtonIcon &icon, const QString &caption,
    SampleState state = SampleState::Normal, qreal ratio = 1)
{
    return renderer(skin)
        .render({ .state = state,
            .size = { 104, 40 },
            .caption = caption,
            .font = QFont(u"宋体"_s, 9),
            .devicePixelRatio = ratio,
            .icon = icon })
        .convertToFormat(QImage::Format_RGB32);
}

QRect boundsWhere(const QImage &image, const std::function<bool(int, int)> &test)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (test(x, y))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QRect differing(const QImage &a, const QImage &b)
{
    return boundsWhere(a, [&](int x, int y) { return a.pixel(x, y) != b.pixel(x, y); });
}

// Within a pixel of the middle of [0, extent).
bool centred(int first, int last, int extent, int slack = 1)
{
    return qAbs(first - (extent - 1 - last)) <= slack;
}

} // namespace

class TestIconLabel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString file(const QString &name, const QByteArray &bytes)
    {
        return testicons::write(m_dir.path(), name, bytes);
    }

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        QVERIFY(m_dir.isValid());
    }

    void iconBesideOrAboveCaption_data()
    {
        QTest::addColumn<IconPosition>("position");
        QTest::addColumn<QString>("skin");
        QTest::newRow("left, Flat") << IconPosition::Left << u"Flat"_s;
        QTest::newRow("right, Flat") << IconPosition::Right << u"Flat"_s;
        QTest::newRow("top, Flat") << IconPosition::Top << u"Flat"_s;
        QTest::newRow("left, 经典") << IconPosition::Left << u"经典"_s;
        QTest::newRow("top, 翡翠") << IconPosition::Top << u"翡翠"_s;
    }
    void iconBesideOrAboveCaption()
    {
        QFETCH(IconPosition, position);
        QFETCH(QString, skin);
        const ButtonIcon icon { file(u"red.svg"_s, testicons::squareSvg("#ff0000")), position };
        const QRgb red = qRgb(255, 0, 0);
        const QImage both = draw(skin, icon, u"下载"_s);
        const QImage face = draw(skin, {}, QString());
        const QRect iconRect = boundsWhere(both, [&](int x, int y) { return both.pixel(x, y) == red; });
        const QRect captionRect = boundsWhere(both,
            [&](int x, int y) { return both.pixel(x, y) != face.pixel(x, y) && both.pixel(x, y) != red; });
        const QRect aloneCaption = differing(draw(skin, {}, u"下载"_s), face);
        QCOMPARE(iconRect.size(), QSize(kFontPixels, kFontPixels));
        QCOMPARE(captionRect.size(), aloneCaption.size());

        const int w = both.width(), h = both.height();
        const QRect block = iconRect | captionRect;
        const int slack = 2; // ink lies up to a pixel inside the caption's box on each side
        if (position == IconPosition::Top) {
            QVERIFY(captionRect.top() - iconRect.bottom() - 1 >= iconlabel::kTopGap);
            QVERIFY(centred(iconRect.left(), iconRect.right(), w));
            QCOMPARE(captionRect.left(), aloneCaption.left());
            QVERIFY(centred(block.top(), block.bottom(), h, slack));
        } else {
            const int gap = position == IconPosition::Left ? captionRect.left() - iconRect.right() - 1
                                                           : iconRect.left() - captionRect.right() - 1;
            QVERIFY2(gap >= iconlabel::kSideGap && gap <= iconlabel::kSideGap + slack,
                qPrintable(QString::number(gap)));
            QCOMPARE(captionRect.top(), aloneCaption.top());
            QCOMPARE(captionRect.bottom(), aloneCaption.bottom());
            QVERIFY(centred(iconRect.top(), iconRect.bottom(), h));
            QVERIFY(centred(block.left(), block.right(), w, slack));
        }
        const QRect only = differing(draw(skin, icon, QString()), face);
        QVERIFY(centred(only.left(), only.right(), w) && centred(only.top(), only.bottom(), h));
    }

    void drawnAtTheDeviceRatio_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QImage>("expected"); // null: a PNG too small, enlarged smoothly
        const QColor a(230, 40, 40), b(250, 230, 60);
        const QByteArray square = testicons::squareSvg("currentColor");
        for (const qreal ratio : { 1.5, 2.0, 3.0 })
            QTest::addRow("svg at %gx", ratio)
                << square << ratio << testicons::solid(qRound(kFontPixels * ratio), Qt::white);
        const std::pair<int, int> exact[] = { { 12, 2 }, { 24, 1 }, { 36, 3 } }; // side, cell
        for (const auto &[side, cell] : exact) {
            const QImage png = testicons::checkered(side, cell, a, b);
            QTest::addRow("%d px png at %dx", side, side / kFontPixels)
                << testicons::png(png) << qreal(side / kFontPixels) << png;
        }
        for (const int side : { 6, 12 }) // too small for the ratio
            QTest::addRow("%d px png at %dx", side, side / 6)
                << testicons::png(testicons::checkered(side, 1, a, b)) << qreal(side / 6) << QImage();
    }
    void drawnAtTheDeviceRatio()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qreal, ratio);
        QFETCH(QImage, expected);
        const ButtonIcon icon { file(bytes.startsWith("<svg") ? u"icon.svg"_s : u"icon.png"_s, bytes) };
        const QImage picture = draw(u"Flat"_s, icon, QString(), SampleState::Normal, ratio);
        const QRect iconRect = differing(picture, draw(u"Flat"_s, {}, QString(), SampleState::Normal, ratio));
        const int side = qRound(kFontPixels * ratio);
        QCOMPARE(iconRect.size(), QSize(side, side));
        QImage drawn = picture.copy(iconRect);
        drawn.setDevicePixelRatio(1);
        // Pixel for pixel: an SVG enlarged from 1x would blend its edges, a PNG would be resampled.
        if (!expected.isNull()) {
            QCOMPARE(drawn, expected.convertToFormat(QImage::Format_RGB32));
            return;
        }
        // Enlarged smoothly: colours between the two cells, never blocks of repeated pixels.
        const QRgb a = qRgb(230, 40, 40), b = qRgb(250, 230, 60);
        int between = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                between += drawn.pixel(x, y) != a && drawn.pixel(x, y) != b;
        QVERIFY(between > drawn.width() * drawn.height() / 4);
    }

    void currentColourIsTheCaptionColour_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<SampleState>("state");
        QTest::addColumn<QColor>("colour"); // invalid: the skin's own caption colour
        QTest::newRow("Flat normal") << u"Flat"_s << SampleState::Normal << QColor(0xffffff);
        QTest::newRow("Flat pressed") << u"Flat"_s << SampleState::Pressed << QColor(0xdce9fb);
        QTest::newRow("Flat hot") << u"Flat"_s << SampleState::Hot << QColor(0xffffff);
        QTest::newRow("Flat disabled") << u"Flat"_s << SampleState::Disabled << QColor(0x7889a3);
        QTest::newRow("Dark normal") << u"Dark"_s << SampleState::Normal << QColor();
        QTest::newRow("Dark pressed") << u"Dark"_s << SampleState::Pressed << QColor();
    }
    void currentColourIsTheCaptionColour()
    {
        QFETCH(QString, skin);
        QFETCH(SampleState, state);
        QFETCH(QColor, colour);
        if (!colour.isValid())
            colour = look(skin, state).text;
        const QPoint shift = state == SampleState::Pressed ? look(skin, state).textShift : QPoint();
        for (const QByteArray &svg : { testicons::squareSvg("currentColor"), testicons::glyphSvg() }) {
            const ButtonIcon icon { file(u"icon.svg"_s, svg) };
            const QImage picture = draw(skin, icon, QString(), state);
            const QRect iconRect = differing(picture, draw(skin, {}, QString(), state));
            // The core of the disk (or square), and the bar at the bottom of the glyph.
            QCOMPARE(picture.pixelColor(iconRect.center().x(), iconRect.top() + iconRect.height() * 9 / 24),
                colour);
            QCOMPARE(picture.pixelColor(iconRect.center().x(), iconRect.bottom()), colour);
            // Pressed, the icon moves with the caption.
            const QRect normalRect = differing(draw(skin, icon, QString()), draw(skin, {}, QString()));
            QCOMPARE(iconRect.topLeft(), normalRect.topLeft() + shift);
        }
    }

    void disabledIconFadesAsTheCaption_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray green = testicons::png(testicons::solid(12, QColor(0, 160, 0)));
        const QByteArray red = testicons::squareSvg("#ff0000");
        QTest::newRow("Flat, PNG") << u"Flat"_s << u"g.png"_s << green;
        QTest::newRow("Flat, fixed-colour SVG") << u"Flat"_s << u"r.svg"_s << red;
        QTest::newRow("经典, PNG") << u"经典"_s << u"g.png"_s << green;
        QTest::newRow("Dark, fixed-colour SVG") << u"Dark"_s << u"r.svg"_s << red;
    }
    void disabledIconFadesAsTheCaption()
    {
        QFETCH(QString, skin);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const ButtonIcon icon { file(name, bytes) };
        const QImage disabled = draw(skin, icon, QString(), SampleState::Disabled);
        const QImage disabledFace = draw(skin, {}, QString(), SampleState::Disabled);
        const QRect iconRect = differing(disabled, disabledFace);
        QCOMPARE(iconRect.size(), QSize(kFontPixels, kFontPixels));
        const QPoint c = iconRect.center();
        const QRgb on = draw(skin, icon, QString()).pixel(c), off = disabled.pixel(c),
                   face = disabledFace.pixel(c);
        // The caption's contrast with its face, disabled against enabled.
        const qreal captionFade
            = qAbs(qreal(qGray(look(skin, SampleState::Disabled).text.rgb()) - qGray(face))
                / (qGray(look(skin, SampleState::Normal).text.rgb())
                    - qGray(draw(skin, {}, QString()).pixel(c))));
        const qreal iconFade = qreal(qGray(off) - qGray(face)) / (qGray(on) - qGray(face));
        QVERIFY2(iconFade > 0.1 && iconFade < 0.9, qPrintable(QString::number(iconFade)));
        QVERIFY2(qAbs(iconFade - captionFade) < 0.08,
            qPrintable(u"icon %1, caption %2"_s.arg(iconFade).arg(captionFade)));
        // Greyed: each channel lies as far towards the icon's grey as the grey itself.
        for (const auto channel : std::initializer_list<int (*)(QRgb)> { &qRed, &qGreen, &qBlue }) {
            const qreal expected = channel(face) + iconFade * (qGray(on) - channel(face));
            QVERIFY2(qAbs(channel(off) - expected) <= 3,
                qPrintable(u"%1 instead of %2"_s.arg(channel(off)).arg(expected)));
        }
    }

    void unusableFilesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        const QString notPicture = u"is not an SVG or PNG picture"_s;
        const QByteArray png = testicons::png(testicons::solid(16, Qt::red));
        QTest::newRow("missing") << u"none/missing.svg"_s << QByteArray() << u"does not exist"_s;
        QTest::newRow("folder") << u"folder.svg"_s << QByteArray() << u"cannot be read"_s;
        QTest::newRow("empty") << u"empty.png"_s << QByteArray("") << notPicture;
        QTest::newRow("text") << u"notes.svg"_s << QByteArray("just text\n") << notPicture;
        QTest::newRow("broken svg") << u"broken.svg"_s
                                    << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"><rect")
                                    << notPicture;
        QTest::newRow("png cut short") << u"cut.png"_s << png.left(40) << notPicture;
        QTest::newRow("jpeg") << u"photo.png"_s << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10)
                              << notPicture;
        QTest::newRow("svg") << u"ok.svg"_s << testicons::glyphSvg() << QString();
        QTest::newRow("png") << u"ok.png"_s << png << QString();
        QTest::newRow("svg named png") << u"svg.png"_s << testicons::squareSvg("red") << QString();
    }
    void unusableFilesAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        const QString path = m_dir.filePath(name);
        if (name.startsWith(u"folder"_s))
            QVERIFY(QDir().mkpath(path));
        else if (!name.startsWith(u"none/"_s))
            QVERIFY(writeAll(path, bytes));
        QCOMPARE(quillet::render::iconProblem(path), problem);
        // A refused icon leaves the picture exactly as without one.
        QCOMPARE(draw(u"经典"_s, { path }, u"确定"_s) == draw(u"经典"_s, {}, u"确定"_s), !problem.isEmpty());
    }
};

QTEST_MAIN(TestIconLabel)
#include "tst_iconlabel.moc"
