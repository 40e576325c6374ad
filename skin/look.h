#pragma once

#include <QColor>
#include <QList>
#include <QMargins>
#include <QPoint>
#include <QString>

namespace quillet::skin {

// One colour stop of a fill; a single stop is a solid fill, none is no fill at all.
struct GradientStop
{
    qreal position = 0.0;
    QColor colour;

    bool operator==(const GradientStop &) const = default;
};

enum class Bevel { None, Raised, Sunken };

// What a derived state does to a look that was drawn from a picture; colours of a
// derived look are already changed by the parser.
enum class Effect { None, Lighter, Darker, Faded };

// A radius that always rounds the short sides into half circles (the painter clamps it).
inline constexpr int kPillRadius = 0x7fff;

// Everything needed to paint one element in one state. Resolved by the parser, so the
// painter never looks anything up.
struct Look
{
    QList<GradientStop> fill;
    bool horizontalFill = false;
    QColor border;
    int borderWidth = 0;
    int radius = 0;
    Bevel bevel = Bevel::None;
    int bevelWidth = 2;
    QColor bevelLight;
    QColor bevelShadow;
    QColor bevelDark;
    QColor highlight;
    int highlightWidth = 1;
    qreal gloss = 0.0;
    // The share of the face's height the gloss covers from its top: a shorter band ends above
    // the caption's middle and leaves the strokes on the face's own colour.
    qreal glossHeight = 0.48;
    QColor text;
    QColor textShadow;
    QPoint textShadowOffset { 0, 1 };
    QPoint textShift;
    QColor mark;
    QColor focus;
    QString image;
    QMargins slice;
    // The face sits this far inside the control, leaving room for a shadow or ring.
    QMargins margin;
    // Caption, arrow and mark are centred on the face less this much (a picture's content box).
    QMargins padding;
    QColor shadow;
    QPoint shadowOffset { 0, 1 };
    int shadowBlur = 0;
    int shadowSpread = 0;
    Effect effect = Effect::None;

    bool operator==(const Look &) const = default;
};

} // namespace quillet::skin
