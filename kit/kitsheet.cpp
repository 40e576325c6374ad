#include "kit/kitsheet.h"

#include "model/metrics.h"

#include <QPainter>

#include <numeric>

namespace quillet::kit::kitsheet {

namespace {

QRect device(const QRect &rect, qreal ratio)
{
    return { qRound(rect.x() * ratio), qRound(rect.y() * ratio), qRound(rect.width() * ratio),
        qRound(rect.height() * ratio) };
}

// A piece goes only where the layout made room for it exactly.
bool place(QPainter &painter, const QImage &piece, const QRect &at)
{
    if (piece.isNull() || piece.size() != at.size())
        return false;
    // Device pixels onto device pixels: the painter would scale a piece by its ratio.
    QImage pixels = piece;
    pixels.setDevicePixelRatio(1);
    painter.drawImage(at.topLeft(), pixels);
    return true;
}

// The piece at `at` repeats its edge pixels `reach` device pixels outwards, inside the sheet.
void extrude(QImage &sheet, const QRect &at, int reach)
{
    const QRect out = at.adjusted(-reach, -reach, reach, reach).intersected(sheet.rect());
    for (int y = out.top(); y <= out.bottom(); ++y) {
        const int fromY = qBound(at.top(), y, at.bottom());
        const auto *from = reinterpret_cast<const QRgb *>(sheet.constScanLine(fromY));
        auto *row = reinterpret_cast<QRgb *>(sheet.scanLine(y));
        for (int x = out.left(); x <= out.right(); ++x) {
            if (!at.contains(x, y))
                row[x] = from[qBound(at.left(), x, at.right())];
        }
    }
}

} // namespace

KitSheet layout(const QList<KitSlice> &slices, int height,
    const std::array<bool, kitpieces::kStates.size()> &drawn, int unit)
{
    using kitpieces::roundUp;
    const int side = model::Metrics::kCheckSide;
    const int checkCount = int(kitpieces::kCheckStates.size());
    // An even number of device pixels at every ratio, so that two pieces' repeats fill it.
    const int gutter = kGutter * unit;
    // A check box's cell, so that the next one and the rows below start on whole units.
    const int cell = roundUp(side + gutter, unit);
    // As narrow as the caps allow: every middle row is as wide as the sheet, and the area is
    // what encoding costs. The check boxes fill rows of that width.
    int width = side;
    for (const KitSlice &slice : slices)
        width = qMax(width, slice.left + slice.right + 2 * kitpieces::kBacking + gutter);
    const int step = std::lcm(kWidthStep, unit);
    width = roundUp(width, step);
    const int perRow = qMax(1, (width + gutter) / cell);

    KitSheet sheet;
    int y = 0;
    for (const KitSlice &slice : slices) {
        std::array<KitSheet::Button, kitpieces::kStates.size()> buttons {};
        for (size_t state = 0; state < buttons.size(); ++state) {
            if (!drawn[state])
                continue;
            buttons[state].right = QRect(0, y, slice.right + kitpieces::kBacking, height);
            buttons[state].left = QRect(
                width - slice.left - kitpieces::kBacking, y, slice.left + kitpieces::kBacking, height);
            y += roundUp(height + gutter, unit);
            buttons[state].middle = QRect(0, y, width, height);
            y += roundUp(height + gutter, unit);
        }
        std::array<QRect, kitpieces::kCheckStates.size()> checks {};
        for (int state = 0; state < checkCount; ++state)
            checks[size_t(state)] = QRect((state % perRow) * cell, y + (state / perRow) * cell, side, side);
        y += (checkCount + perRow - 1) / perRow * cell;
        sheet.buttons.append(buttons);
        sheet.checks.append(checks);
    }
    sheet.size = QSize(width, qMax(unit, y - gutter));
    sheet.gutter = gutter;
    return sheet;
}

QImage draw(const KitSheet &sheet, const QList<KitSheetSkin> &skins, qreal ratio)
{
    if (skins.size() != sheet.buttons.size() || sheet.size.isEmpty())
        return {};
    QImage picture(device(QRect(QPoint(), sheet.size), ratio).size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    // Pixels as they are, not blended over what lies there.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    bool whole = true;
    for (qsizetype skin = 0; skin < skins.size(); ++skin) {
        const KitSheetSkin &from = skins[skin];
        for (size_t state = 0; state < from.pieces.size(); ++state) {
            const KitSheet::Button &at = sheet.buttons[skin][state];
            if (at.middle.isNull())
                continue;
            const KitPieces &pieces = from.pieces[state];
            whole = whole && place(painter, pieces.left, device(at.left, ratio))
                && place(painter, pieces.right, device(at.right, ratio));
            const QRect row = device(at.middle, ratio);
            const int step = pieces.middle.width();
            if (step <= 0 || row.width() % step != 0 || pieces.middle.height() != row.height()) {
                whole = false;
                continue;
            }
            QImage tile = pieces.middle;
            tile.setDevicePixelRatio(1);
            for (int x = row.left(); x < row.left() + row.width(); x += step)
                painter.drawImage(QPoint(x, row.top()), tile);
        }
        if (!kitpieces::whole(model::Metrics::kCheckSide, ratio))
            continue;
        for (size_t state = 0; state < from.checks.size(); ++state)
            whole = whole && place(painter, from.checks[state], device(sheet.checks[skin][state], ratio));
    }
    painter.end();
    if (!whole)
        return {};
    // Half the gutter each side: two pieces' repeats meet, and nothing see-through is left
    // between them for a browser's filter to reach.
    const int reach = qRound(sheet.gutter * ratio) / 2;
    for (qsizetype skin = 0; skin < skins.size(); ++skin) {
        for (size_t state = 0; state < skins[skin].pieces.size(); ++state) {
            const KitSheet::Button &at = sheet.buttons[skin][state];
            if (at.middle.isNull())
                continue;
            for (const QRect &piece : { at.left, at.middle, at.right })
                extrude(picture, device(piece, ratio), reach);
        }
        if (kitpieces::whole(model::Metrics::kCheckSide, ratio)) {
            for (const QRect &check : sheet.checks[skin])
                extrude(picture, device(check, ratio), reach);
        }
    }
    picture.setDevicePixelRatio(ratio);
    return picture;
}

} // namespace quillet::kit::kitsheet
