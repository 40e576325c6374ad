#pragma once

#include "kit/kitpieces.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>

#include <array>

namespace quillet::kit {

// Where each piece of a kit lies in its sheet, in CSS pixels; the sheet of a density is
// that many device pixels for each, so every piece starts and ends on a whole device pixel.
// A left cap (with its backing, kitpieces::backed) lies flush with the sheet's right edge
// and a right cap with its left edge, so that a cap layer, which is not clipped to the cap,
// shows nothing but the cap over the button; a middle fills a whole row, which repeats
// across without a seam.
struct KitSheet
{
    QSize size;
    int gutter = 2; // CSS pixels between pieces, kitsheet::kGutter or more
    struct Button
    {
        QRect left;
        QRect middle; // the whole row
        QRect right;
    };
    // Per skin (light, then dark) and state of kitpieces::kStates; null where not drawn.
    QList<std::array<Button, kitpieces::kStates.size()>> buttons;
    QList<std::array<QRect, kitpieces::kCheckStates.size()>> checks;
};

// What one skin puts on a sheet of one density.
struct KitSheetSkin
{
    KitSlice slice;
    std::array<KitPieces, kitpieces::kStates.size()> pieces; // null where not drawn
    std::array<QImage, kitpieces::kCheckStates.size()> checks;
};

namespace kitsheet {

// CSS pixels between pieces (times the unit of the layout), so that a picture drawn at another density than its own (a 2x
// sheet on a 3x screen) blends no neighbour into a piece's edge. Each piece's edge pixels
// are repeated into its half of the gutter: a browser that scales the sheet blends a piece
// with itself there, not with a see-through pixel that would let the page show at the
// button's edges. Whatever lies there is outside the button's box.
inline constexpr int kGutter = 2;
// Every middle tile is 1 to 4 pixels wide: a sheet as wide as a multiple of all of them
// repeats each middle row without a seam.
inline constexpr int kWidthStep = 12;

// slices: one per skin, their sides multiples of unit (kitpieces::unitOf the kit's ratios),
// as is the height; drawn: which states of kitpieces::kStates the kit shows. Every place and
// size on the sheet is a multiple of unit.
KitSheet layout(const QList<KitSlice> &slices, int height,
    const std::array<bool, kitpieces::kStates.size()> &drawn, int unit = 1);
// The sheet of one density from each skin's pieces at that density; null when a piece is
// missing or not the size the layout gives it. Check boxes are left out at a ratio where
// their side is no whole number of device pixels (the renderer draws none there).
QImage draw(const KitSheet &sheet, const QList<KitSheetSkin> &skins, qreal ratio);

} // namespace kitsheet

} // namespace quillet::kit
