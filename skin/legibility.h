#pragma once

// WCAG 2 contrast of a caption (or an arrow, or a check mark) against what lies under it,
// measured on pixels, so that pictures, gloss and gradients count as the eye sees them.
// Works on any image: the caller says where the caption is and what colour it has, or
// gives the same picture painted without the glyph and lets the difference tell.
#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>

#include <array>

namespace quillet::skin {

// What a glyph needs against the face under it to count as readable.
inline constexpr qreal kEnabledLegibility = 4.5;
inline constexpr qreal kDisabledLegibility = 2.0;
// A focus ring against the ground around the control (a non-text element).
inline constexpr qreal kFocusRingLegibility = 3.0;
// The focus indicator must cover as many pixels as a ring this wide along the control's edge.
inline constexpr int kFocusRingWidth = 2;

// The sizes the focus rule is held at: the heights a kit is drawn at, the widths its
// pieces are checked at (narrow, the designer's, odd, wide), at 1x and 2x.
inline constexpr std::array<int, 4> kFocusHeights { 16, 24, 32, 48 };
inline constexpr std::array<int, 4> kFocusWidths { 40, 104, 217, 300 };
inline constexpr std::array<qreal, 2> kFocusRatios { 1.0, 2.0 };

// How far (per channel) a pixel may lie from the glyph colour and still count as glyph.
inline constexpr int kGlyphTolerance = 12;

// Tenths of a glyph's body that must reach its contrast: a gloss band across the upper half
// of a caption is then not hidden by the dark half below it.
inline constexpr int kLegibleTenths = 9;

struct Legibility
{
    // 1..21; 0 when there was no glyph or no background to measure. For a glyph: the
    // contrast that 90 % of its body pixels reach, each against the face right under it.
    qreal contrast = 0.0;
    QColor glyph; // median of the glyph pixels
    QColor background; // median of the ground pixels
    // For a glyph: the face under the pixel that sets `contrast`, where a designer mends it.
    QColor weakestBackground;
    qreal medianContrast = 0.0; // median glyph against median ground, for reports
    int glyphPixels = 0;
    int backgroundPixels = 0;
    QRect box;
};

qreal relativeLuminance(QRgb rgb);
qreal contrastRatio(QRgb a, QRgb b);
// The pixel of middle luminance; an even count takes the darker of the two middle ones.
QRgb medianByLuminance(QList<QRgb> pixels);
// The bounding box of the pixels that differ between two pictures of one size.
QRect differingBox(const QImage &a, const QImage &b);

// picture: the control with its glyph. blank: the same control painted with no glyph (an
// empty caption, or the mark in a transparent colour), or a null image.
// With blank, the glyph's core pixels are those that differ from it and match the glyph
// colour; each is held against the blank picture's pixel exactly under it, the face the
// eye sees behind that stroke. Anti-aliased edges and text shadows count as neither.
// Without blank, every pixel of the box that matches the glyph colour is glyph and the rest
// of the box is ground; each glyph pixel is held against the ground's median.
// box: where the glyph lies; an empty box means the bounding box of the pixels that differ
// from blank, grown by one pixel.
// glyph: the glyph's colour; an invalid colour means the differing pixel whose luminance lies
// furthest from the blank ground's (this needs blank, and a glyph without a shadow).
Legibility measureLegibility(const QImage &picture, const QImage &blank, QRect box, QColor glyph);

// Pixels of a solid ring one pixel wide drawn `inset` pixels inside a control of this
// size. A dotted ring covers about half.
int focusRingArea(QSize control, int inset);

// The least number of device pixels a focus indicator must change at kFocusRingLegibility:
// kFocusRingWidth one-pixel rings of the whole control, 2 x (2(w + h) - 4) at 1x, times the
// square of the pixel ratio, rounded up.
int focusAppearanceArea(QSize control, qreal ratio);

// How well a focus indicator shows: the focused picture against the unfocused one, pixel
// by pixel, since the eye compares the same place in both states. The contrast is the one
// the strongest `area` changed pixels all reach; 0 when fewer pixels change. glyph and
// background are the medians of those pixels in the focused and unfocused pictures,
// glyphPixels how many changed pixels reach kFocusRingLegibility (counted also when fewer
// than `area` change), backgroundPixels the area asked for, box where they lie.
Legibility measureFocusIndicator(const QImage &focused, const QImage &unfocused, int area);

// The OKLCH hue a set of pixels shows: the 5-degree bin holding most of the pixels whose
// chroma reaches accent::kNeutralChroma, averaged on the circle with its two neighbours.
struct HueMeasure
{
    qreal hue = -1.0; // degrees, 0 to 360; -1 when no pixel is chromatic
    int chromaticPixels = 0;
    int pixels = 0;

    // Most of the pixels carry a hue, so the eye reads the set as coloured, not as black,
    // white or grey with coloured edges.
    bool hasHue() const { return hue >= 0 && 2 * chromaticPixels >= pixels; }
};

// Alpha is ignored: measure pictures painted on an opaque ground.
HueMeasure dominantHue(const QImage &image);
// The hue of a focus indicator: the focused picture's pixels whose colour differs visibly
// (0.05 in OKLab) from the unfocused one's, so a ring reads in the skin's colour where it
// changed the button.
HueMeasure focusIndicatorHue(const QImage &focused, const QImage &unfocused);
// The angle between two hues on the circle, 0 to 180 degrees.
qreal hueDistance(qreal a, qreal b);

} // namespace quillet::skin
