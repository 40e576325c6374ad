#include "pictures/spritesheet.h"

#include "model/statetable.h"

#include <cstring>

namespace quillet::pictures::SpriteSheet {

QImage assemble(const QList<QImage> &bands)
{
    if (bands.size() != model::states::spriteBands(false).size()
        && bands.size() != model::states::spriteBands(true).size())
        return {};
    const int count = int(bands.size());
    const QImage &first = bands.first();
    for (const QImage &state : bands) {
        if (state.isNull() || state.size() != first.size()
            || state.devicePixelRatio() != first.devicePixelRatio())
            return {};
    }
    QImage sheet(first.width(), first.height() * count, QImage::Format_ARGB32_Premultiplied);
    if (sheet.isNull())
        return {};
    // Pixels are copied, not painted: the sheet must hold each state exactly.
    for (int i = 0; i < count; ++i) {
        const QImage state = bands[i].convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const qsizetype rowBytes = qsizetype(first.width()) * 4;
        for (int y = 0; y < first.height(); ++y)
            std::memcpy(sheet.scanLine(i * first.height() + y), state.constScanLine(y), size_t(rowBytes));
    }
    sheet.setDevicePixelRatio(first.devicePixelRatio());
    return sheet;
}

} // namespace quillet::pictures::SpriteSheet
