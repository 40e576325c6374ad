#include "platform/image/exactpalette.h"

#include <QHash>

#include <algorithm>

namespace quillet::image {

QImage ExactPalette::toIndexed(const QImage &image, int maxColours)
{
    if (image.isNull() || maxColours < 1 || maxColours > kMaxColours)
        return {};
    const QImage source
        = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (source.isNull())
        return {};

    QImage indexed(source.size(), QImage::Format_Indexed8);
    if (indexed.isNull())
        return {};
    QList<QRgb> table;
    QHash<QRgb, uchar> lookup;
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        uchar *out = indexed.scanLine(y);
        // Neighbouring pixels are mostly equal: remember the last one to skip the hash.
        QRgb last = 0;
        uchar lastIndex = 0;
        bool haveLast = false;
        for (int x = 0; x < source.width(); ++x) {
            const QRgb colour = in[x];
            if (haveLast && colour == last) {
                out[x] = lastIndex;
                continue;
            }
            auto found = lookup.constFind(colour);
            if (found == lookup.constEnd()) {
                if (table.size() == maxColours)
                    return {};
                found = lookup.insert(colour, uchar(table.size()));
                table.append(colour);
            }
            out[x] = lastIndex = *found;
            last = colour;
            haveLast = true;
        }
    }

    const bool allOpaque = std::all_of(table.cbegin(), table.cend(), [](QRgb c) { return qAlpha(c) == 255; });
    if (!allOpaque) {
        QList<int> order(table.size());
        for (int i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_partition(order.begin(), order.end(), [&table](int i) { return qAlpha(table[i]) < 255; });
        QList<QRgb> sorted(table.size());
        uchar remap[kMaxColours] = {};
        for (int i = 0; i < order.size(); ++i) {
            sorted[i] = table[order[i]];
            remap[order[i]] = uchar(i);
        }
        for (int y = 0; y < indexed.height(); ++y) {
            uchar *line = indexed.scanLine(y);
            for (int x = 0; x < indexed.width(); ++x)
                line[x] = remap[line[x]];
        }
        table = sorted;
    }
    indexed.setColorTable(table);
    return indexed;
}

} // namespace quillet::image
