#pragma once

#include "render/buttonrenderer.h"
#include "skin/legibility.h"
#include "skin/skin.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quillet::render {

// One glyph of one sample control in one state, measured against the face under it.
struct LegibilityProbe
{
    QString section; // where a designer mends it, e.g. "button.hot"
    QString glyph; // "caption", "arrow" or "mark"
    QString caption; // for a caption: the sample text that read worst
    qreal minimum = 0.0;
    skin::Legibility measure;
    // Where a focus ring was measured: the control's logical size and pixel ratio.
    QSize size;
    qreal ratio = 1.0;

    bool passes() const { return measure.contrast >= minimum; }
};

// Paints the push button, the drop button and the check box of a skin without any window
// and measures every caption, arrow and mark the sample pictures show. Needs a
// QApplication (offscreen will do) with the program's font substitutions.
namespace legibility {
// The texts a push button's caption is measured with, the worst one counting: the
// designer's sample and a short word in each script, whose strokes sit at different
// heights over a glossy face.
QStringList sampleCaptions();
QList<LegibilityProbe> measureSkin(const skin::Skin &skin);
// measureSkin without the focus indicator: the captions, arrows and marks alone.
QList<LegibilityProbe> measureGlyphs(const skin::Skin &skin);
// The push button's caption in one of its states (Normal, Hot, Pressed, Disabled or
// Focused) at the designer's sample size, measured the way measureSkin measures it: the
// worst of sampleCaptions().
LegibilityProbe captionProbe(const skin::Skin &skin, SampleState state);
// The same, one probe for each of sampleCaptions(), in that order.
QList<LegibilityProbe> captionProbes(const skin::Skin &skin, SampleState state);
// The focused push button (blank caption) against the normal one, both on the skin's base
// colour: at least skin::focusAppearanceArea pixels must change at kFocusRingLegibility.
LegibilityProbe focusProbe(const skin::Skin &skin, QSize size, qreal ratio);
// focusProbe at every size of the focus rule; the one that falls furthest short (or, when
// all pass, the one with the least to spare).
LegibilityProbe worstFocusProbe(const skin::Skin &skin);
} // namespace legibility

} // namespace quillet::render
