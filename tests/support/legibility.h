#pragma once

// WCAG 2 contrast of a caption (or an arrow, or a check mark) against what lies under it,
// measured on pixels, so that pictures, gloss and gradients count as the eye sees them.
// Works on any image: the caller says where the caption is and what colour it has, or
// gives the same picture painted without the glyph and lets the difference tell.
#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <algorithm>
#include <cmath>

namespace quillet::skin::testing {

// How far (per channel) a pixel may lie from the glyph colour and still count as glyph.
inline constexpr int kGlyphTolerance = 12;

struct Legibility
{
    qreal contrast = 0.0; // 1..21; 0 when there was no glyph or no background to measure
    QColor glyph; // median of the glyph pixels
    QColor background; // median of the non-glyph pixels in the box
    int glyphPixels = 0;
    int backgroundPixels = 0;
    QRect box;
};

inline qreal relativeLuminance(QRgb rgb)
{
    const auto linear = [](int channel) {
        const qreal c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

inline qreal contrastRatio(QRgb a, QRgb b)
{
    const qreal la = relativeLuminance(a);
    const qreal lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

inline bool nearColour(QRgb a, QRgb b, int tolerance = kGlyphTolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The pixel of middle luminance; an even count takes the darker of the two middle ones.
inline QRgb medianByLuminance(QList<QRgb> pixels)
{
    if (pixels.isEmpty())
        return 0;
    const auto mid = pixels.begin() + (pixels.size() - 1) / 2;
    std::nth_element(pixels.begin(), mid, pixels.end(),
        [](QRgb a, QRgb b) { return relativeLuminance(a) < relativeLuminance(b); });
    return *mid;
}

// The bounding box of the pixels that differ between two pictures of one size.
inline QRect differingBox(const QImage &a, const QImage &b)
{
    QRect box;
    if (a.size() != b.size())
        return box;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// image: the control with its glyph. plain: the same control painted with the glyph in a
// transparent colour (shadows and all else unchanged), or a null image. With plain, only
// pixels that differ from it can be glyph, and differing pixels that do not match the glyph
// colour (anti-aliased edges) count as neither glyph nor background, so blends cannot pull
// the background toward the glyph. Without plain, every pixel of the box that matches the
// glyph colour is glyph.
// box: where the glyph lies; an empty box means the bounding box of the pixels that differ
// from plain, grown by one pixel so the ground right around the glyph is in it.
// glyph: the glyph's colour; an invalid colour means the differing pixel whose luminance lies
// furthest from the plain ground's (this needs plain, and plain must differ only by the glyph).
inline Legibility measureLegibility(
    const QImage &picture, const QImage &plainPicture, QRect box, QColor glyph)
{
    Legibility result;
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const bool hasPlain = !plainPicture.isNull() && plainPicture.size() == picture.size();
    const QImage plain = hasPlain ? plainPicture.convertToFormat(QImage::Format_RGB32) : QImage();
    if (box.isEmpty() && hasPlain)
        box = differingBox(image, plain).adjusted(-1, -1, 1, 1);
    box &= image.rect();
    result.box = box;
    if (box.isEmpty())
        return result;

    const auto differs = [&](int x, int y) { return !hasPlain || image.pixel(x, y) != plain.pixel(x, y); };
    if (!glyph.isValid()) {
        if (!hasPlain)
            return result;
        QList<QRgb> ground;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x)
                ground << plain.pixel(x, y);
        }
        const qreal groundLuminance = relativeLuminance(medianByLuminance(ground));
        qreal furthest = -1.0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                const qreal d = std::abs(relativeLuminance(image.pixel(x, y)) - groundLuminance);
                if (differs(x, y) && d > furthest) {
                    furthest = d;
                    glyph = QColor::fromRgb(image.pixel(x, y));
                }
            }
        }
        if (!glyph.isValid())
            return result;
    }

    QList<QRgb> glyphs;
    QList<QRgb> ground;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (differs(x, y) && nearColour(p, glyph.rgb()))
                glyphs << p;
            else if (!hasPlain || !differs(x, y))
                ground << p;
        }
    }
    result.glyphPixels = int(glyphs.size());
    result.backgroundPixels = int(ground.size());
    if (glyphs.isEmpty() || ground.isEmpty())
        return result;
    result.glyph = QColor::fromRgb(medianByLuminance(glyphs));
    result.background = QColor::fromRgb(medianByLuminance(ground));
    result.contrast = contrastRatio(result.glyph.rgb(), result.background.rgb());
    return result;
}

} // namespace quillet::skin::testing
