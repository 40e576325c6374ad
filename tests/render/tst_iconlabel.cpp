// Icons in the rendered push button: where the icon stands beside or above the caption,
// that it is drawn again (not enlarged) at every ratio, takes the state's caption colour,
// that PNG icons keep their own pixels, the disabled fade, and which files are refused.
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
using quillet::render::RenderRequest;
using quillet::render::SampleState;
namespace iconlabel = quillet::render::iconlabel;

Q_DECLARE_METATYPE(IconPosition)
Q_DECLARE_METATYPE(SampleState)

namespace {

constexpr int kFontPixels = 12; // 宋体 9 pt

QString skinFile(const QString &name)
{
    return QStringLiteral(QUILLET_SOURCE_DIR "/skins/") + name + u".an"_s;
}

QImage draw(const QString &skin, const ButtonIcon &icon, const QString &caption,
    SampleState state = SampleState::Normal, qreal ratio = 1, QSize size = { 104, 40 })
{
    const ButtonRenderer renderer = ButtonRenderer::fromSkinFile(skinFile(skin));
    RenderRequest request;
    request.size = size;
    request.caption = caption;
    request.font = QFont(u"宋体"_s, 9);
    request.state = state;
    request.devicePixelRatio = ratio;
    request.icon = icon;
    return renderer.render(request).convertToFormat(QImage::Format_RGB32);
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

int grey(QRgb p)
{
    return qGray(p);
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
        const QString caption = u"下载"_s;
        const QImage both = draw(skin, icon, caption);
        const QImage alone = draw(skin, {}, caption);
        const QImage face = draw(skin, {}, QString());
        const QRgb red = qRgb(255, 0, 0);
        const QRect iconRect = boundsWhere(both, [&](int x, int y) { return both.pixel(x, y) == red; });
        const QRect captionRect = boundsWhere(both,
            [&](int x, int y) { return both.pixel(x, y) != face.pixel(x, y) && both.pixel(x, y) != red; });
        const QRect aloneCaption = differing(alone, face);
        QCOMPARE(iconRect.size(), QSize(kFontPixels, kFontPixels));
        QVERIFY(!captionRect.isEmpty());
        QCOMPARE(captionRect.size(), aloneCaption.size());

        const int width = both.width();
        const int height = both.height();
        const QRect block = iconRect | captionRect;
        // Ink lies up to a pixel inside the caption's box on each side.
        const int slack = 2;
        if (position == IconPosition::Top) {
            QVERIFY2(captionRect.top() > iconRect.bottom(), "caption below the icon");
            QVERIFY(captionRect.top() - iconRect.bottom() - 1 >= iconlabel::kTopGap);
            QVERIFY(qAbs(iconRect.left() - (width - 1 - iconRect.right())) <= 1);
            QCOMPARE(captionRect.left(), aloneCaption.left());
            QVERIFY(qAbs(block.top() - (height - 1 - block.bottom())) <= slack);
        } else {
            const bool left = position == IconPosition::Left;
            const int gap = left ? captionRect.left() - iconRect.right() - 1
                                 : iconRect.left() - captionRect.right() - 1;
            QVERIFY2(gap >= iconlabel::kSideGap && gap <= iconlabel::kSideGap + slack,
                qPrintable(QString::number(gap)));
            // The caption keeps its rows; the icon is centred on the face's height.
            QCOMPARE(captionRect.top(), aloneCaption.top());
            QCOMPARE(captionRect.bottom(), aloneCaption.bottom());
            QVERIFY(qAbs(iconRect.top() - (height - 1 - iconRect.bottom())) <= 1);
            QVERIFY2(qAbs(block.left() - (width - 1 - block.right())) <= slack,
                qPrintable(u"%1 %2"_s.arg(block.left()).arg(width - 1 - block.right())));
        }

        // With no caption, the icon alone is centred within a pixel both ways.
        const QImage only = draw(skin, icon, QString());
        const QRect onlyRect = boundsWhere(only, [&](int x, int y) { return only.pixel(x, y) == red; });
        QVERIFY(qAbs(onlyRect.left() - (width - 1 - onlyRect.right())) <= 1);
        QVERIFY(qAbs(onlyRect.top() - (height - 1 - onlyRect.bottom())) <= 1);
    }

    void svgDrawnAgainAtEveryRatio_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1.5") << 1.5;
        QTest::newRow("2") << 2.0;
        QTest::newRow("3") << 3.0;
    }
    void svgDrawnAgainAtEveryRatio()
    {
        QFETCH(qreal, ratio);
        const ButtonIcon icon { file(u"current.svg"_s, testicons::squareSvg("currentColor")) };
        const QImage picture = draw(u"Flat"_s, icon, QString(), SampleState::Normal, ratio);
        const QImage face = draw(u"Flat"_s, {}, QString(), SampleState::Normal, ratio);
        const QRect iconRect = differing(picture, face);
        const int side = qRound(kFontPixels * ratio);
        QCOMPARE(iconRect.size(), QSize(side, side));
        // Sharp: around the square's edges every pixel is the icon or the face, nothing between.
        const QRect around = iconRect.adjusted(-3, -3, 3, 3);
        const QRgb white = qRgb(255, 255, 255);
        const QRgb blue = face.pixel(around.topLeft());
        int upscaledBlends = 0;
        const QImage upscaled = draw(u"Flat"_s, icon, QString())
                                    .scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (int y = around.top(); y <= around.bottom(); ++y) {
            for (int x = around.left(); x <= around.right(); ++x) {
                const QRgb p = picture.pixel(x, y);
                QVERIFY2(p == white || p == blue, qPrintable(u"(%1, %2) %3"_s.arg(x).arg(y).arg(p, 8, 16)));
                const QRgb q = upscaled.pixel(x, y);
                upscaledBlends += q != white && q != blue;
            }
        }
        // What an enlarged 1x picture would have shown instead.
        QVERIFY(upscaledBlends > 0);
    }

    void currentColourIsTheCaptionColour_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<SampleState>("state");
        QTest::addColumn<QColor>("colour");
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
        const ButtonRenderer renderer = ButtonRenderer::fromSkinFile(skinFile(skin));
        const auto lookOf
            = [&](quillet::skin::State s) { return renderer.skin().look(quillet::skin::Element::Button, s); };
        const quillet::skin::State skinState[] = { quillet::skin::State::Normal,
            quillet::skin::State::Pressed, quillet::skin::State::Hot, quillet::skin::State::Disabled };
        if (!colour.isValid())
            colour = lookOf(skinState[int(state)]).text;

        for (const QByteArray &svg : { testicons::squareSvg("currentColor"), testicons::glyphSvg() }) {
            const ButtonIcon icon { file(u"icon.svg"_s, svg) };
            const QImage picture = draw(skin, icon, QString(), state);
            const QImage plain = draw(skin, {}, QString(), state);
            const QRect iconRect = differing(picture, plain);
            QVERIFY(!iconRect.isEmpty());
            // The core of the disk (or square), and the bar at the bottom of the glyph.
            const QPoint core(iconRect.center().x(), iconRect.top() + iconRect.height() * 9 / 24);
            QCOMPARE(picture.pixelColor(core), colour);
            QCOMPARE(picture.pixelColor(iconRect.center().x(), iconRect.bottom()), colour);

            // Pressed, the icon moves with the caption by the skin's shift.
            const QImage normal = draw(skin, icon, QString());
            const QRect normalRect = differing(normal, draw(skin, {}, QString()));
            const QPoint shift
                = state == SampleState::Pressed ? lookOf(quillet::skin::State::Pressed).textShift : QPoint();
            QCOMPARE(iconRect.topLeft(), normalRect.topLeft() + shift);
        }
    }

    void pngKeepsItsOwnPixels_data()
    {
        QTest::addColumn<QImage>("png");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<bool>("exact");
        const QColor a(230, 40, 40);
        const QColor b(250, 230, 60);
        QTest::newRow("12 px at 1x") << testicons::checkered(12, 2, a, b) << 1.0 << true;
        QTest::newRow("24 px at 2x") << testicons::checkered(24, 1, a, b) << 2.0 << true;
        QTest::newRow("36 px at 3x") << testicons::checkered(36, 3, a, b) << 3.0 << true;
        QTest::newRow("6 px at 1x, enlarged") << testicons::checkered(6, 1, a, b) << 1.0 << false;
        QTest::newRow("12 px at 2x, enlarged") << testicons::checkered(12, 1, a, b) << 2.0 << false;
    }
    void pngKeepsItsOwnPixels()
    {
        QFETCH(QImage, png);
        QFETCH(qreal, ratio);
        QFETCH(bool, exact);
        const ButtonIcon icon { file(u"icon.png"_s, testicons::png(png)) };
        const QImage picture = draw(u"Flat"_s, icon, QString(), SampleState::Normal, ratio);
        const QRect iconRect = differing(picture, draw(u"Flat"_s, {}, QString(), SampleState::Normal, ratio));
        const int side = qRound(kFontPixels * ratio);
        QCOMPARE(iconRect.size(), QSize(side, side));
        QImage drawn = picture.copy(iconRect);
        drawn.setDevicePixelRatio(1);
        if (exact) {
            QCOMPARE(drawn, png.convertToFormat(QImage::Format_RGB32));
            return;
        }
        // Enlarged smoothly: colours between the two cells, never blocks of repeated pixels.
        int between = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                between += drawn.pixel(x, y) != png.pixel(0, 0) && drawn.pixel(x, y) != png.pixel(1, 0);
        QVERIFY(between > drawn.width() * drawn.height() / 4);
    }

    void disabledIconFadesAsTheCaption_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        const QByteArray green = testicons::png(testicons::solid(12, QColor(0, 160, 0)));
        QTest::newRow("Flat, PNG") << u"Flat"_s << green << u"g.png"_s;
        QTest::newRow("Flat, fixed-colour SVG") << u"Flat"_s << testicons::squareSvg("#ff0000") << u"r.svg"_s;
        QTest::newRow("经典, PNG") << u"经典"_s << green << u"g.png"_s;
        QTest::newRow("Dark, fixed-colour SVG") << u"Dark"_s << testicons::squareSvg("#ff0000") << u"r.svg"_s;
    }
    void disabledIconFadesAsTheCaption()
    {
        QFETCH(QString, skin);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        const ButtonIcon icon { file(name, bytes) };
        const QImage normal = draw(skin, icon, QString());
        const QImage disabled = draw(skin, icon, QString(), SampleState::Disabled);
        const QImage disabledFace = draw(skin, {}, QString(), SampleState::Disabled);
        const QRect iconRect = differing(disabled, disabledFace);
        QCOMPARE(iconRect.size(), QSize(kFontPixels, kFontPixels));
        const QRgb on = normal.pixel(iconRect.center());
        const QRgb off = disabled.pixel(iconRect.center());
        const QRgb face = disabledFace.pixel(iconRect.center());

        const ButtonRenderer renderer = ButtonRenderer::fromSkinFile(skinFile(skin));
        const auto text = [&](quillet::skin::State s) {
            return renderer.skin().look(quillet::skin::Element::Button, s).text.rgb();
        };
        // The caption's contrast with its face, disabled against enabled.
        const QRgb normalFace = draw(skin, {}, QString()).pixel(iconRect.center());
        const qreal captionFade = qAbs(qreal(grey(text(quillet::skin::State::Disabled)) - grey(face))
            / (grey(text(quillet::skin::State::Normal)) - grey(normalFace)));
        const qreal iconFade = qreal(grey(off) - grey(face)) / (grey(on) - grey(face));
        QVERIFY2(iconFade > 0.1 && iconFade < 0.9, qPrintable(QString::number(iconFade)));
        QVERIFY2(qAbs(iconFade - captionFade) < 0.08,
            qPrintable(u"icon %1, caption %2"_s.arg(iconFade).arg(captionFade)));
        // Greyed, as the caption is: each channel lies as far towards the icon's grey as the
        // grey itself, however coloured the icon and the face.
        const int offChannels[] = { qRed(off), qGreen(off), qBlue(off) };
        const int faceChannels[] = { qRed(face), qGreen(face), qBlue(face) };
        for (int c = 0; c < 3; ++c) {
            const qreal expected = faceChannels[c] + iconFade * (grey(on) - faceChannels[c]);
            QVERIFY2(qAbs(offChannels[c] - expected) <= 3,
                qPrintable(u"%1 instead of %2"_s.arg(offChannels[c]).arg(expected)));
        }
    }

    void unusableFilesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing") << u"none/missing.svg"_s << QByteArray() << u"does not exist"_s;
        QTest::newRow("folder") << u"folder.svg"_s << QByteArray() << u"cannot be read"_s;
        QTest::newRow("empty") << u"empty.png"_s << QByteArray("") << u"is not an SVG or PNG picture"_s;
        QTest::newRow("text") << u"notes.svg"_s << QByteArray("just text\n")
                              << u"is not an SVG or PNG picture"_s;
        QTest::newRow("broken svg") << u"broken.svg"_s
                                    << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"><rect")
                                    << u"is not an SVG or PNG picture"_s;
        QTest::newRow("png cut short")
            << u"cut.png"_s << testicons::png(testicons::solid(16, Qt::red)).left(40)
            << u"is not an SVG or PNG picture"_s;
        QTest::newRow("jpeg") << u"photo.png"_s << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10)
                              << u"is not an SVG or PNG picture"_s;
        QTest::newRow("svg") << u"ok.svg"_s << testicons::glyphSvg() << QString();
        QTest::newRow("png") << u"ok.png"_s << testicons::png(testicons::solid(16, Qt::red)) << QString();
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
        const QImage picture = draw(u"经典"_s, { path }, u"确定"_s);
        QCOMPARE(picture == draw(u"经典"_s, {}, u"确定"_s), !problem.isEmpty());
    }
};

QTEST_MAIN(TestIconLabel)
#include "tst_iconlabel.moc"
