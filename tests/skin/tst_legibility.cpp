// Every shipped skin's captions, drop arrows and check marks must be readable: WCAG 2
// contrast of at least 4.5:1 in the enabled states, and a disabled state that is still
// legible (2:1) but clearly fainter than the normal one.
//
// A push button with the keyboard focus must show it: at every size a kit or the batch draws,
// at 1x and 2x, at least as many pixels as a ring two pixels wide along the button's edge
// must contrast 3:1 with the unfocused button's, both painted on the skin's base colour.
//
// QUILLET_LEGIBILITY_TABLE=1 prints one line per skin and sample with the four contrasts.
#include "support/samplerig.h"

#include "skin/accent.h"
#include "skin/legibility.h"
#include "skin/skinparser.h"
#include "skin/skinstyle.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QStyleFactory>
#include <QtTest>

#include <array>
#include <functional>

using namespace quillet::skin;
using quillet::skin::testing::SampleRig;

namespace {

// Disabled must lose at least a fifth of the normal contrast to read as switched off.
constexpr qreal kDisabledAtMost = 0.8;
// Fewer glyph pixels than this means the measure found no glyph, not a faint one.
constexpr int kMinGlyphPixels = 8;

// Focus: the push button's focus ring.
enum class Sample { Caption, Arrow, Mark, Focus };

constexpr std::array<SampleRig::ButtonState, 4> kStates { SampleRig::ButtonNormal, SampleRig::ButtonHot,
    SampleRig::ButtonPressed, SampleRig::ButtonDisabled };

constexpr std::array<const char *, 4> kStateNames { "normal", "hot", "pressed", "disabled" };

// By Sample: its name and the element that paints it.
struct SampleKind
{
    const char *name;
    Element element;
};
constexpr std::array<SampleKind, 4> kSamples { { { "caption", Element::Button },
    { "arrow", Element::ComboButton }, { "mark", Element::Check }, { "focus", Element::Button } } };

State skinStateOf(Sample sample, SampleRig::ButtonState s)
{
    const bool checked = sample == Sample::Mark;
    switch (s) {
    case SampleRig::ButtonHot:
        return checked ? State::CheckedHot : State::Hot;
    case SampleRig::ButtonPressed:
        return checked ? State::CheckedPressed : State::Pressed;
    case SampleRig::ButtonDisabled:
        return checked ? State::CheckedDisabled : State::Disabled;
    default:
        return checked ? State::Checked : State::Normal;
    }
}

QColor glyphColour(const Skin &skin, Sample sample, SampleRig::ButtonState s)
{
    const Look &look = skin.look(kSamples[size_t(sample)].element, skinStateOf(sample, s));
    return sample == Sample::Caption ? look.text : look.mark;
}

// The same skin with a blank caption (no glyph, no text shadow) or a transparent mark: the
// face exactly under the glyph.
Skin withoutGlyph(Skin skin, Sample sample)
{
    const Element element = kSamples[size_t(sample)].element;
    for (int s = 0; s < kStateCount; ++s) {
        Look look = skin.look(element, static_cast<State>(s));
        (sample == Sample::Caption ? look.text : look.mark) = QColor(0, 0, 0, 0);
        if (sample == Sample::Caption)
            look.textShadow = QColor(0, 0, 0, 0);
        skin.setLook(element, static_cast<State>(s), look);
    }
    return skin;
}

// Installs the skin the way the engine does, without reading a file.
void install(const Skin &skin, QWidget *window)
{
    auto *style = new SkinStyle(skin);
    QApplication::setStyle(style);
    QApplication::setPalette(style->standardPalette());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::ApplicationPaletteChange);
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : widgets) {
        style->unpolish(w);
        style->polish(w);
    }
}

QImage capture(SampleRig &rig, Sample sample, SampleRig::ButtonState s)
{
    switch (sample) {
    case Sample::Caption:
        return rig.button(s);
    case Sample::Arrow:
        return rig.combo(s);
    default:
        return rig.checked(s);
    }
}

// The four states of one sample, measured.
std::array<Legibility, 4> measureSkin(const Skin &skin, Sample sample, qreal ratio = 1.0)
{
    SampleRig rig;
    rig.setPixelRatio(ratio);
    std::array<QImage, 4> with;
    std::array<QImage, 4> plain;
    install(skin, &rig.host());
    for (size_t i = 0; i < kStates.size(); ++i)
        with[i] = capture(rig, sample, kStates[i]);
    install(withoutGlyph(skin, sample), &rig.host());
    for (size_t i = 0; i < kStates.size(); ++i)
        plain[i] = capture(rig, sample, kStates[i]);
    std::array<Legibility, 4> result;
    for (size_t i = 0; i < kStates.size(); ++i)
        result[i] = measureLegibility(with[i], plain[i], QRect(), glyphColour(skin, sample, kStates[i]));
    return result;
}

// What is wrong with the measured states, or an empty string.
QString verdict(const std::array<Legibility, 4> &m)
{
    QStringList faults;
    for (size_t i = 0; i < kStates.size(); ++i) {
        const bool disabled = kStates[i] == SampleRig::ButtonDisabled;
        const qreal minimum = disabled ? kDisabledLegibility : kEnabledLegibility;
        if (m[i].glyphPixels < kMinGlyphPixels)
            faults
                << QStringLiteral("%1: no glyph found (%2 pixels)").arg(kStateNames[i]).arg(m[i].glyphPixels);
        else if (m[i].contrast < minimum)
            faults << QStringLiteral("%1: %2:1 < %3:1 (%4 on %5)")
                          .arg(kStateNames[i])
                          .arg(m[i].contrast, 0, 'f', 2)
                          .arg(minimum)
                          .arg(m[i].glyph.name(), m[i].background.name());
    }
    if (m[3].contrast > m[0].contrast * kDisabledAtMost)
        faults << QStringLiteral("disabled %1:1 is not fainter than normal %2:1")
                      .arg(m[3].contrast, 0, 'f', 2)
                      .arg(m[0].contrast, 0, 'f', 2);
    return faults.join(QStringLiteral("; "));
}

QImage filled(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The blank push button as the engine paints it on the skin's base colour, focused against
// unfocused, held to the focus rule's area.
Legibility focusOf(const Skin &skin, QSize size, qreal ratio)
{
    SkinStyle style(skin);
    const auto paint = [&](bool focused) {
        QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(skin.base());
        QPainter painter(&image);
        QStyleOptionButton option;
        option.rect = QRect(QPoint(0, 0), size);
        option.palette = style.standardPalette();
        option.state = QStyle::State_Enabled | QStyle::State_Raised;
        option.state.setFlag(QStyle::State_HasFocus, focused);
        style.drawControl(QStyle::CE_PushButton, &option, &painter, nullptr);
        return image;
    };
    return measureFocusIndicator(paint(true), paint(false), focusAppearanceArea(size, ratio));
}

// The sizes where the focused button changes too few pixels, e.g. "40x16: 180 of 216 pixels".
QStringList focusFaults(const Skin &skin, qreal ratio)
{
    QStringList faults;
    for (const int height : kFocusHeights) {
        for (const int width : kFocusWidths) {
            const Legibility m = focusOf(skin, QSize(width, height), ratio);
            if (m.glyphPixels < m.backgroundPixels)
                faults << QStringLiteral("%1x%2: %3 of %4 pixels")
                              .arg(width)
                              .arg(height)
                              .arg(m.glyphPixels)
                              .arg(m.backgroundPixels);
        }
    }
    return faults;
}

// A ground with a rectangle outline drawn one pixel wide, solid or every other pixel.
QImage outlined(QSize size, QRgb ground, QRgb ink, int inset = 3, bool dotted = false)
{
    QImage image = filled(size, ground);
    const QRect r = QRect(QPoint(0, 0), size).adjusted(inset, inset, -inset, -inset);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const bool edge = x == r.left() || x == r.right() || y == r.top() || y == r.bottom();
            if (edge && (!dotted || (x + y) % 2 == 0))
                image.setPixel(x, y, ink);
        }
    }
    return image;
}

} // namespace

class LegibilityTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void contrastRatio_data();
    void contrastRatio();
    void measure_data();
    void measure();
    void weakestTenth();
    void skins_data();
    void skins();
    void focusRingArea();
    void focusAppearanceArea_data();
    void focusAppearanceArea();
    void focusIndicator_data();
    void focusIndicator();
    void focusIndicatorHue_data();
    void focusIndicatorHue();
};

void LegibilityTest::cleanup()
{
    QStyle *plain = QStyleFactory::create(QStringLiteral("Fusion"));
    QApplication::setStyle(plain);
    QApplication::setPalette(plain->standardPalette());
}

void LegibilityTest::contrastRatio_data()
{
    QTest::addColumn<QColor>("a");
    QTest::addColumn<QColor>("b");
    QTest::addColumn<qreal>("ratio");
    // Reference values of the WCAG 2 formula.
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("same colour") << QColor(0x77, 0x77, 0x77) << QColor(0x77, 0x77, 0x77) << 1.0;
    QTest::newRow("#777 on white") << QColor(0x77, 0x77, 0x77) << QColor(Qt::white) << 4.48;
    QTest::newRow("white on #2a7be6") << QColor(Qt::white) << QColor(0x2a, 0x7b, 0xe6) << 4.14;
    QTest::newRow("order does not matter") << QColor(Qt::white) << QColor(0x77, 0x77, 0x77) << 4.48;
}

void LegibilityTest::contrastRatio()
{
    QFETCH(QColor, a);
    QFETCH(QColor, b);
    QFETCH(qreal, ratio);
    QCOMPARE(qRound(quillet::skin::contrastRatio(a.rgb(), b.rgb()) * 100), qRound(ratio * 100));
}

void LegibilityTest::measure_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QImage>("plain");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QColor>("glyph");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("glyphPixels");

    // A 20 x 10 ground with a 6 x 4 glyph block at (7,3), over what else is painted first.
    const QSize size(20, 10);
    const QRect block(7, 3, 6, 4);
    const auto drawn = [&](QRgb ground, QList<std::pair<QRect, QRgb>> fills, QRgb ink) {
        QImage image = filled(size, ground);
        QPainter p(&image);
        for (const auto &[rect, colour] : fills << std::pair(block, ink))
            p.fillRect(rect, QColor::fromRgb(colour));
        return image;
    };
    const QRgb black = qRgb(0, 0, 0);
    const QRgb grey = qRgb(0x77, 0x77, 0x77);
    const QRgb white = qRgb(255, 255, 255);
    const QImage plain = filled(size, white);
    QTest::newRow("black on white, known colour")
        << drawn(white, {}, black) << plain << QRect() << QColor(Qt::black) << 21.0 << 24;
    QTest::newRow("black on white, colour found")
        << drawn(white, {}, black) << plain << QRect() << QColor() << 21.0 << 24;
    QTest::newRow("no plain picture, box given")
        << drawn(white, {}, black) << QImage() << QRect(5, 1, 10, 8) << QColor(Qt::black) << 21.0 << 24;
    // Grey fringe pixels around the glyph are blends: they must not become the ground.
    QTest::newRow("anti-aliased fringe left out")
        << drawn(white, { { block.adjusted(-1, -1, 1, 1), qRgb(0x80, 0x80, 0x80) } }, black) << plain
        << QRect() << QColor(Qt::black) << 21.0 << 24;
    // A dark text shadow under a white glyph is not in the blank picture: it is neither glyph
    // nor ground, and the face under the strokes is.
    const QRgb light = qRgb(0xd0, 0xd0, 0xd0);
    QTest::newRow("text shadow is not ground")
        << drawn(light, { { block.translated(0, 1), qRgb(0x20, 0x20, 0x20) } }, white) << filled(size, light)
        << QRect() << QColor(Qt::white) << quillet::skin::contrastRatio(white, light) << 24;
    // A band darker exactly under the strokes than beside them: the band is what the eye reads
    // the glyph against.
    const std::pair band(QRect(0, block.top(), 20, block.height()), grey);
    QTest::newRow("face under the strokes, not beside them")
        << drawn(white, { band }, white) << drawn(white, { band }, grey) << QRect() << QColor(Qt::white)
        << 4.48 << 24;
    // A pale band over the top of the glyph, as a gloss lies over a caption's upper half: the
    // contrast is what nine tenths of the strokes reach against the face under each of them.
    // The glyph is 6 x 10 here, so one row of it is a tenth.
    const QRgb pale = qRgb(0xd8, 0xd8, 0xd8);
    const QRect tall(7, 0, 6, 10);
    const auto banded = [&](int rows, bool withGlyph) {
        QImage image = filled(size, grey);
        QPainter p(&image);
        p.fillRect(QRect(0, 0, 20, rows), QColor::fromRgb(pale));
        if (withGlyph)
            p.fillRect(tall, Qt::white);
        return image;
    };
    const qreal onPale = quillet::skin::contrastRatio(white, pale);
    QTest::newRow("a tenth on the band still reads")
        << banded(1, true) << banded(1, false) << QRect() << QColor(Qt::white) << 4.48 << 60;
    QTest::newRow("two tenths on the band do not")
        << banded(2, true) << banded(2, false) << QRect() << QColor(Qt::white) << onPale << 60;
    QTest::newRow("the median would hide the band")
        << banded(4, true) << banded(4, false) << QRect() << QColor(Qt::white) << onPale << 60;
    QTest::newRow("glyph colour absent")
        << drawn(white, {}, black) << plain << QRect() << QColor(Qt::red) << 0.0 << 0;
    QTest::newRow("identical pictures") << plain << plain << QRect() << QColor(Qt::black) << 0.0 << 0;
}

void LegibilityTest::measure()
{
    QFETCH(QImage, image);
    QFETCH(QImage, plain);
    QFETCH(QRect, box);
    QFETCH(QColor, glyph);
    QFETCH(qreal, ratio);
    QFETCH(int, glyphPixels);
    const Legibility m = measureLegibility(image, plain, box, glyph);
    QCOMPARE(m.glyphPixels, glyphPixels);
    QCOMPARE(qRound(m.contrast * 100), qRound(ratio * 100));
}

// The report of a caption half on a pale band: the medians say it reads, the weakest tenth and
// the face under it say where it does not.
void LegibilityTest::weakestTenth()
{
    const QRgb grey = qRgb(0x77, 0x77, 0x77);
    const QRgb pale = qRgb(0xd8, 0xd8, 0xd8);
    const auto banded = [&](bool withGlyph) {
        QImage image = filled(QSize(20, 10), grey);
        QPainter p(&image);
        p.fillRect(QRect(0, 0, 20, 5), QColor::fromRgb(pale));
        if (withGlyph)
            p.fillRect(QRect(7, 0, 6, 10), Qt::white);
        return image;
    };
    const Legibility m = measureLegibility(banded(true), banded(false), QRect(), QColor(Qt::white));
    QCOMPARE(m.background.rgb(), grey);
    QCOMPARE(qRound(m.medianContrast * 100), 448);
    QCOMPARE(m.weakestBackground.rgb(), pale);
    QCOMPARE(qRound(m.contrast * 100), qRound(quillet::skin::contrastRatio(qRgb(255, 255, 255), pale) * 100));
}

// Every shipped skin passes, also painted for a dense screen (pixel ratio 2); copies of skins
// as they shipped before their captions and focus rings were mended fail in the listed states.
void LegibilityTest::skins_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("sample");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QStringList>("failing"); // none: the sample passes
    for (const QString &path : quillet::skin::testing::shippedSkins()) {
        for (const qreal ratio : { 1.0, 2.0 }) {
            for (const Sample s : { Sample::Caption, Sample::Arrow, Sample::Mark, Sample::Focus })
                QTest::addRow("%s %s %gx", qPrintable(QFileInfo(path).completeBaseName()),
                    kSamples[size_t(s)].name, ratio)
                    << path << int(s) << ratio << QStringList();
        }
    }
    const auto unmended = [](const char *file, Sample s, const QStringList &failing) {
        QTest::addRow("unmended %s %s", file, kSamples[size_t(s)].name)
            << QStringLiteral(QUILLET_SOURCE_DIR "/tests/skin/data/unmended/") + QLatin1String(file) << int(s)
            << 1.0 << failing;
    };
    unmended("Aqua.an", Sample::Caption, { "normal:", "hot:" });
    unmended("Aqua.an", Sample::Arrow, { "normal:", "hot:" });
    unmended("Flat.an", Sample::Caption, { "hot:" });
    unmended("Sunset.an", Sample::Caption, { "normal:", "hot:" });
    unmended("Aqua Glass.an", Sample::Caption, { "normal:", "hot:" }); // drawn from pictures
    // Its captions' medians read at 4.5:1 or more; the upper half of the strokes lay on the gloss.
    unmended("aqua2.an", Sample::Caption, { "normal:", "hot:" });
    for (const char *file : { "Aqua.an", "Flat.an", "Aqua Glass.an" }) // a dotted ring, or none
        unmended(file, Sample::Focus, { "focus ring" });
}

void LegibilityTest::skins()
{
    QFETCH(QString, path);
    QFETCH(int, sample);
    QFETCH(qreal, ratio);
    QFETCH(QStringList, failing);
    const Skin skin = SkinParser::parseFile(path);
    const bool table = qEnvironmentVariableIsSet("QUILLET_LEGIBILITY_TABLE");
    const char *name = kSamples[sample].name;
    QString fault;
    if (static_cast<Sample>(sample) == Sample::Focus) {
        const QStringList faults = focusFaults(skin, ratio);
        if (table)
            qInfo("| %s | focus %gx | %s |", qPrintable(QFileInfo(path).completeBaseName()), ratio,
                qPrintable(faults.isEmpty() ? QStringLiteral("passes") : faults.join(u", ")));
        if (!faults.isEmpty())
            fault = QStringLiteral("focus ring ") + faults.join(QStringLiteral("; "));
    } else {
        const auto m = measureSkin(skin, static_cast<Sample>(sample), ratio);
        if (table)
            qInfo("| %s | %s %gx | %.2f | %.2f | %.2f | %.2f |",
                qPrintable(QFileInfo(path).completeBaseName()), name, ratio, m[0].contrast, m[1].contrast,
                m[2].contrast, m[3].contrast);
        fault = verdict(m);
    }
    QVERIFY2(fault.isEmpty() == failing.isEmpty(), qPrintable(fault));
    for (const QString &state : failing)
        QVERIFY2(fault.contains(state), qPrintable(fault));
}

// The pixels a solid one-pixel outline covers, down to none left inside the inset.
void LegibilityTest::focusRingArea()
{
    QCOMPARE(quillet::skin::focusRingArea(QSize(104, 24), 3), 228);
    QCOMPARE(quillet::skin::focusRingArea(QSize(10, 4), 0), 24);
    QCOMPARE(quillet::skin::focusRingArea(QSize(10, 3), 1), 8);
    QCOMPARE(quillet::skin::focusRingArea(QSize(6, 6), 3), 0);
}

void LegibilityTest::focusAppearanceArea_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("area");
    QTest::newRow("designer button") << QSize(104, 24) << 1.0 << 504;
    QTest::newRow("four times at 2x") << QSize(104, 24) << 2.0 << 2016;
    QTest::newRow("at 1.5x") << QSize(41, 16) << 1.5 << 495;
    QTest::newRow("rounded up") << QSize(41, 16) << 1.1 << 267; // 220 x 1.21 = 266.2
    QTest::newRow("one pixel high") << QSize(10, 1) << 1.0 << 20;
}

void LegibilityTest::focusAppearanceArea()
{
    QFETCH(QSize, size);
    QFETCH(qreal, ratio);
    QFETCH(int, area);
    QCOMPARE(quillet::skin::focusAppearanceArea(size, ratio), area);
}

void LegibilityTest::focusIndicator_data()
{
    QTest::addColumn<QImage>("focused");
    QTest::addColumn<QImage>("unfocused");
    QTest::addColumn<qreal>("contrast");
    QTest::addColumn<int>("strongPixels");
    const QSize size(104, 24);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb dark = qRgb(0x20, 0x20, 0x20);
    const QImage plain = filled(size, white);
    QTest::newRow("solid black ring") << outlined(size, white, qRgb(0, 0, 0)) << plain << 21.0 << 228;
    QTest::newRow("solid ring at the edge")
        << outlined(size, white, qRgb(0, 0, 0), 0) << plain << 21.0 << 252;
    // The engine's old dotted rectangle changes half the pixels a ring needs; they are still
    // counted, so that a report can say how far it falls short.
    QTest::newRow("dotted ring is too small")
        << outlined(size, white, qRgb(0, 0, 0), 3, true) << plain << 0.0 << 114;
    QTest::newRow("grey ring on white")
        << outlined(size, white, qRgb(0x77, 0x77, 0x77)) << plain << 4.48 << 228;
    QTest::newRow("faint ring") << outlined(size, white, qRgb(0xcc, 0xcc, 0xcc)) << plain << 1.61 << 0;
    // What counts is the pixel under the ring, not the page; and a whole face a shade lighter is
    // no indicator.
    QTest::newRow("dark ring on a dark face") << outlined(size, dark, qRgb(0, 0, 0)) << filled(size, dark)
                                              << quillet::skin::contrastRatio(dark, qRgb(0, 0, 0)) << 0;
    QTest::newRow("whole face a shade lighter")
        << filled(size, qRgb(0xe8, 0xe8, 0xe8)) << filled(size, qRgb(0xd0, 0xd0, 0xd0))
        << quillet::skin::contrastRatio(qRgb(0xe8, 0xe8, 0xe8), qRgb(0xd0, 0xd0, 0xd0)) << 0;
    QTest::newRow("no change") << plain << plain << 0.0 << 0;
}

void LegibilityTest::focusIndicator()
{
    QFETCH(QImage, focused);
    QFETCH(QImage, unfocused);
    QFETCH(qreal, contrast);
    QFETCH(int, strongPixels);
    const Legibility m
        = measureFocusIndicator(focused, unfocused, quillet::skin::focusRingArea(focused.size(), 3));
    QCOMPARE(qRound(m.contrast * 100), qRound(contrast * 100));
    QCOMPARE(m.glyphPixels, strongPixels);
}

void LegibilityTest::focusIndicatorHue_data()
{
    QTest::addColumn<QImage>("focused");
    QTest::addColumn<QImage>("unfocused");
    QTest::addColumn<qreal>("hue"); // -1: none
    QTest::addColumn<int>("chromatic");
    QTest::addColumn<int>("changed");
    QTest::addColumn<bool>("hasHue");
    const QSize size(104, 24);
    const QRgb face = qRgb(0x1d, 0x64, 0xcc);
    const QRgb deep = qRgb(0x0b, 0x2f, 0x6e);
    const QImage plain = filled(size, face);
    const qreal deepHue = accent::toOklch(QColor(deep)).h;
    QTest::newRow("deep tone of the face")
        << outlined(size, face, deep) << plain << deepHue << 228 << 228 << true;
    QTest::newRow("black ring") << outlined(size, face, qRgb(0, 0, 0)) << plain << -1.0 << 0 << 228 << false;
    // The face's own pixels inside the ring do not count, only what the ring changed.
    QImage framed = outlined(size, face, qRgb(255, 255, 255), 2);
    {
        QPainter p(&framed);
        p.setPen(QColor(deep));
        p.drawRect(QRect(QPoint(0, 0), size).adjusted(3, 3, -4, -4));
    }
    QTest::newRow("white frame round a thin blue line")
        << framed << plain << deepHue << 228 << 228 + 236 << false;
    // Hues either side of 0 degrees average on the circle, not to 180.
    QImage wrapped = plain;
    const QRgb below = accent::fromOklch({ 0.6, 0.15, 358 }).rgb();
    const QRgb above = accent::fromOklch({ 0.6, 0.15, 2 }).rgb();
    for (int x = 0; x < size.width(); ++x)
        wrapped.setPixel(x, 0, x % 2 ? below : above);
    QTest::newRow("red either side of zero") << wrapped << plain << 0.0 << 104 << 104 << true;
    // A gradient that moved with a wider border shifts the whole face a level or two.
    QTest::newRow("face a level lighter")
        << filled(size, qRgb(0x1f, 0x66, 0xce)) << plain << -1.0 << 0 << 0 << false;
    QTest::newRow("no change") << plain << plain << -1.0 << 0 << 0 << false;
    QTest::newRow("sizes differ") << filled(QSize(10, 10), deep) << plain << -1.0 << 0 << 0 << false;
}

void LegibilityTest::focusIndicatorHue()
{
    QFETCH(QImage, focused);
    QFETCH(QImage, unfocused);
    QFETCH(qreal, hue);
    QFETCH(int, chromatic);
    QFETCH(int, changed);
    QFETCH(bool, hasHue);
    const HueMeasure m = quillet::skin::focusIndicatorHue(focused, unfocused);
    if (hue < 0)
        QCOMPARE(m.hue, -1.0);
    else
        QVERIFY2(hueDistance(m.hue, hue) < 1.0, qPrintable(QString::number(m.hue)));
    QCOMPARE(m.chromaticPixels, chromatic);
    QCOMPARE(m.pixels, changed);
    QCOMPARE(m.hasHue(), hasHue);
}

QTEST_MAIN(LegibilityTest)
#include "tst_legibility.moc"
