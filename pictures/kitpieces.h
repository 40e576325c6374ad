#pragma once

#include "render/buttonrenderer.h"

#include <QFont>
#include <QImage>
#include <QList>

namespace quillet::pictures {

// How a push button of any width is drawn from three pieces: a left cap, one middle column
// stretched (or repeated) across, a right cap. Sides in logical pixels.
struct KitSlice
{
    int left = 0;
    int right = 0;
    // Caps plus middle gave the renderer's picture bit for bit at every width tried.
    bool exact = false;
    // Otherwise the largest difference of one channel seen, and at which width and ratio.
    int worstDifference = 0;
    int worstWidth = 0;
    qreal worstRatio = 1;
};

struct KitPieces
{
    QImage left;
    QImage middle; // one logical pixel wide
    QImage right;
};

namespace kitpieces {

// The push button's states a kit draws, in the order of its style sheet.
inline constexpr render::SampleState kStates[] = { render::SampleState::Normal, render::SampleState::Hot,
    render::SampleState::Focused, render::SampleState::Pressed, render::SampleState::Disabled };
// The check box's states: unchecked, hot, checked, disabled.
inline constexpr render::SampleState kCheckStates[] = { render::SampleState::Normal, render::SampleState::Hot,
    render::SampleState::Checked, render::SampleState::Disabled };
// Widths the slice is checked at besides its own: narrow, the designer's, odd and wide.
inline constexpr int kProbeWidths[] = { 40, 104, 217, 300 };

// The blank push button (caption " ") of one state, see-through, as the batch draws it
// with --text " " --transparent.
QImage blankButton(
    const render::ButtonRenderer &renderer, render::SampleState state, int width, int height, qreal ratio);
// The caps every state shares at every ratio, tried at kProbeWidths and the narrowest
// width the caps allow.
KitSlice slice(const render::ButtonRenderer &renderer, int height, const QList<qreal> &ratios);
KitPieces cut(const QImage &picture, const KitSlice &slice);
// Caps at both ends, the middle column across the rest; null when the width is too small.
QImage compose(const KitPieces &pieces, int width);
// Largest difference of one channel between two pictures of one size; -1 for sizes apart.
int difference(const QImage &a, const QImage &b);
// The check box of one state, see-through.
QImage checkBox(const render::ButtonRenderer &renderer, render::SampleState state, qreal ratio);

} // namespace kitpieces

} // namespace quillet::pictures
