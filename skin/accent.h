#pragma once

// A skin in another colour: every chromatic colour takes an accent's hue and chroma in
// OKLCH and keeps its own lightness and alpha, so gloss, bevels and shading stay where the
// skin's maker put them. Neutral colours (greys, white, black) stay as they are.
#include "skin/skin.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

namespace quillet::skin::accent {

// OKLCH chroma below which a colour counts as neutral and is kept: greys and the warm
// greys of classic faces (#d4d0c8 is 0.012) lie under it, the palest tints (a hover's
// #e8f0fc is 0.018) above.
inline constexpr double kNeutralChroma = 0.015;
// A colour this chromatic or more takes the accent's whole chroma; a paler tint takes the
// same share of it as it has of this, so pale stays pale and a tinted white stays nearly white.
inline constexpr double kFullChroma = 0.06;

struct Oklab
{
    double L = 0.0;
    double a = 0.0;
    double b = 0.0;
};

struct Oklch
{
    double L = 0.0;
    double C = 0.0;
    double h = 0.0; // degrees, 0 to 360
};

Oklab toOklab(const QColor &colour);
Oklch toOklch(const QColor &colour);
Oklch toOklch(const Oklab &lab);
// The sRGB colour of this lightness and hue; a chroma sRGB cannot show is reduced at the
// same L and h until it fits.
QColor fromOklch(const Oklch &lch, qreal alpha = 1.0);
bool inGamut(const Oklab &lab);

// "#rgb" or "#rrggbb", either case; anything else is refused with a short reason in
// *problem (without the option's name) and an invalid colour.
QColor parse(const QString &text, QString *problem);

// One colour under the accent; invalid colours and neutral ones come back unchanged. An
// accent without chroma turns chromatic colours into greys of their own lightness.
QColor recolour(const QColor &colour, const QColor &accent);
// Every colour literal of fills, strokes, stops and the like in an SVG's text.
QByteArray recolouredSvg(const QByteArray &svg, const QColor &accent);
// Pixel by pixel, alpha kept.
QImage recolouredImage(const QImage &image, const QColor &accent);

// Every look's colours (a chromatic caption too), the base colour, and the accent for the
// pictures, which the painter recolours as it loads them. An invalid accent gives the skin
// unchanged.
Skin recoloured(const Skin &skin, const QColor &accent);

} // namespace quillet::skin::accent
