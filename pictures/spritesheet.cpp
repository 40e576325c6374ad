#include "pictures/spritesheet.h"

#include <cstring>

namespace quillet::pictures {

QImage SpriteSheet::assemble(const QList<QImage> &states)
{
    if (states.size() != kStates && states.size() != kStatesWithFocus)
        return {};
    const int count = int(states.size());
    const QImage &first = states.first();
    for (const QImage &state : states) {
        if (state.isNull() || state.size() != first.size()
            || state.devicePixelRatio() != first.devicePixelRatio())
            return {};
    }
    QImage sheet(first.width(), first.height() * count, QImage::Format_ARGB32_Premultiplied);
    if (sheet.isNull())
        return {};
    // Pixels are copied, not painted: the sheet must hold each state exactly.
    for (int i = 0; i < count; ++i) {
        const QImage state = states[i].convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const qsizetype rowBytes = qsizetype(first.width()) * 4;
        for (int y = 0; y < first.height(); ++y)
            std::memcpy(sheet.scanLine(i * first.height() + y), state.constScanLine(y), size_t(rowBytes));
    }
    sheet.setDevicePixelRatio(first.devicePixelRatio());
    return sheet;
}

} // namespace quillet::pictures
