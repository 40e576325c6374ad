#pragma once

#include "skin/legibility.h"
#include "skin/skin.h"

#include <QList>
#include <QString>

namespace quillet::render {

// One glyph of one sample control in one state, measured against the face under it.
struct LegibilityProbe
{
    QString section; // where a designer mends it, e.g. "button.hot"
    QString glyph; // "caption", "arrow" or "mark"
    qreal minimum = 0.0;
    skin::Legibility measure;

    bool passes() const { return measure.contrast >= minimum; }
};

// Paints the push button, the drop button and the check box of a skin without any window
// and measures every caption, arrow and mark the sample pictures show. Needs a
// QApplication (offscreen will do) with the program's font substitutions.
namespace legibility {
QList<LegibilityProbe> measureSkin(const skin::Skin &skin);
// The focused push button (blank caption) against the normal one: a ring of at least the
// area of a solid one-pixel focus rectangle must reach kFocusRingLegibility.
LegibilityProbe focusProbe(const skin::Skin &skin, qreal ratio);
} // namespace legibility

} // namespace quillet::render
