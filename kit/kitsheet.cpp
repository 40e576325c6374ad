#include "kit/kitsheet.h"

#include "model/metrics.h"

#include <QPainter>

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

} // namespace

KitSheet layout(
    const QList<KitSlice> &slices, int height, const std::array<bool, kitpieces::kStates.size()> &drawn)
{
    const int side = model::Metrics::kCheckSide;
    const int checkCount = int(kitpieces::kCheckStates.size());
    // As narrow as the caps allow: every middle row is as wide as the sheet, and the area is
    // what encoding costs. The check boxes fill rows of that width.
    int width = side;
    for (const KitSlice &slice : slices)
        width = qMax(width, slice.left + kGutter + slice.right);
    width = (width + kWidthStep - 1) / kWidthStep * kWidthStep;
    const int perRow = qMax(1, (width + kGutter) / (side + kGutter));

    KitSheet sheet;
    int y = 0;
    for (const KitSlice &slice : slices) {
        std::array<KitSheet::Button, kitpieces::kStates.size()> buttons {};
        for (size_t state = 0; state < buttons.size(); ++state) {
            if (!drawn[state])
                continue;
            buttons[state].right = QRect(0, y, slice.right, height);
            buttons[state].left = QRect(width - slice.left, y, slice.left, height);
            y += height + kGutter;
            buttons[state].middle = QRect(0, y, width, height);
            y += height + kGutter;
        }
        std::array<QRect, kitpieces::kCheckStates.size()> checks {};
        for (int state = 0; state < checkCount; ++state)
            checks[size_t(state)] = QRect(
                (state % perRow) * (side + kGutter), y + (state / perRow) * (side + kGutter), side, side);
        y += (checkCount + perRow - 1) / perRow * (side + kGutter);
        sheet.buttons.append(buttons);
        sheet.checks.append(checks);
    }
    sheet.size = QSize(width, qMax(1, y - kGutter));
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
        for (size_t state = 0; state < from.checks.size(); ++state)
            whole = whole && place(painter, from.checks[state], device(sheet.checks[skin][state], ratio));
    }
    painter.end();
    if (!whole)
        return {};
    picture.setDevicePixelRatio(ratio);
    return picture;
}

} // namespace quillet::kit::kitsheet
