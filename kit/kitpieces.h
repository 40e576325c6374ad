#pragma once

#include "model/statetable.h"
#include "render/buttonrenderer.h"
#include "skin/legibility.h"

#include <QFont>
#include <QImage>
#include <QList>

#include <array>
#include <utility>

namespace quillet::kit {

using model::OutputGroup;
using model::SampleState;
using model::StateRow;
namespace states = model::states;

// How a push button of any width is drawn from three pieces, each 1:1 with no scaling: a
// left cap, a middle tile repeated across from the left cap on, a right cap. Sides in
// logical pixels.
struct KitSlice
{
    int left = 0;
    int right = 0;
    // One column, or the period of a pattern along the face (a dotted focus ring).
    int middle = 1;
    // Narrower buttons differ from the renderer (corners that shrink, caps that overlap).
    int minWidth = 3;
    // Caps plus middle gave the renderer's picture bit for bit at every width tried.
    bool exact = false;
    // Otherwise the largest difference of one channel seen on a black and on a white page
    // (which bounds it on every opaque one), and at which width and ratio.
    int worstDifference = 0;
    // The same for each state of kitpieces::kButtonRows on its own, by its cascade.
    std::array<int, states::kitStateCount(OutputGroup::ButtonStates)> stateDifference {};
    int worstWidth = 0;
    qreal worstRatio = 1;
};

struct KitPieces
{
    QImage left;
    QImage middle; // KitSlice::middle logical pixels wide
    QImage right;
};

// What the kit draws with: the skin's renderer, the button's height and caption font, and
// which push button states the kit shows.
struct KitDrawing
{
    const render::ButtonRenderer *renderer = nullptr;
    int height = 24;
    QFont font;
    QList<SampleState> states;
};

namespace kitpieces {

// The push button's states a kit draws and the check box's, in the order of its style
// sheet: a row's cascade is its place in these, and in every per-state array of the kit.
inline constexpr auto kButtonRows = states::kitOrder<OutputGroup::ButtonStates>();
inline constexpr auto kCheckRows = states::kitOrder<OutputGroup::CheckBox>();

template<size_t Count>
constexpr std::array<SampleState, Count> statesOf(const std::array<StateRow, Count> &rows)
{
    std::array<SampleState, Count> result {};
    for (size_t i = 0; i < Count; ++i)
        result[i] = rows[i].state;
    return result;
}
inline constexpr auto kStates = statesOf(kButtonRows);
inline constexpr auto kCheckStates = statesOf(kCheckRows);
// Widths the slice is checked at besides its own: narrow, the designer's, odd and wide;
// the focus rule holds at the same ones.
inline constexpr auto kProbeWidths = skin::kFocusWidths;

// Wide enough that every skin's caps leave a long middle run to find; the pieces are cut
// from a button of this width.
inline constexpr int kSliceWidth = 160;

// The shortest CSS length that is whole device pixels at every ratio (2 with 1.5x): every
// cap, middle, gutter and place on a sheet is a multiple of it, so that no piece starts or
// ends inside a device pixel and no browser has to blend two pieces into one pixel.
int unitOf(const QList<qreal> &ratios);
inline int roundUp(int length, int unit)
{
    return (length + unit - 1) / unit * unit;
}
// Whether a CSS length is whole device pixels at a ratio.
bool whole(int length, qreal ratio);

// CSS pixels each cap of a web kit reaches under the middle. Between the densities drawn a
// cap and the middle meet inside a device pixel, which each covers only in part, and two
// parts do not add up to a whole one: the page would show through. The middle lies over
// the caps, and each cap carries its inner column on under it, where the middle is opaque in
// every column of its row; there the middle hides it at every density drawn.
inline constexpr int kBacking = 2;
// The caps with their backing: left is the cap then the backing, right the backing then
// the cap, each kBacking logical pixels wider.
KitPieces backed(const KitPieces &pieces);

// The blank push button (caption " ") of one state, see-through, as the batch draws it
// with --text " " --transparent.
QImage blankButton(const KitDrawing &drawing, SampleState state, int width, qreal ratio);
// The caps and middle every state shares at every ratio, tried at kProbeWidths and the
// narrowest widths (at each ratio those that are whole device pixels there), all multiples
// of unitOf(ratios). Where no slice is exact, the one closest to the renderer.
KitSlice slice(const KitDrawing &drawing, const QList<qreal> &ratios);
KitPieces cut(const QImage &picture, const KitSlice &slice);
// The widest run around the centre of a 32-bit picture in which every column equals the
// one `step` before it: [first, last] in device pixels.
std::pair<int, int> periodicRun(const QImage &picture, int step);
// Caps at both ends, the middle tiled across the rest from the left cap on, as
// background-repeat does; null when the width is too small.
QImage compose(const KitPieces &pieces, int width);
// Largest difference of one channel between two see-through pictures of one size, laid on
// black and on white; -1 for sizes apart.
int difference(const QImage &a, const QImage &b);
// The check box of one state, see-through.
QImage checkBox(const render::ButtonRenderer &renderer, SampleState state, qreal ratio);
// The combo box's drop button of one state, see-through, as the batch draws it.
QImage dropButton(const render::ButtonRenderer &renderer, SampleState state, qreal ratio);

} // namespace kitpieces

} // namespace quillet::kit
