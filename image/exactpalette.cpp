#include "image/exactpalette.h"

#include <algorithm>
#include <array>

namespace quillet::image {

namespace {
// Colour -> index for at most 256 colours, open addressing in twice as many slots: a
// general hash table cost more than the rest of the reduction.
class ColourSlots
{
public:
    // The colour's index, or -1 with the slot where it would go in *slot.
    int find(QRgb colour, size_t *slot) const
    {
        size_t at = (colour * 0x9E3779B1u) >> (32 - kOrder);
        while (m_index[at] >= 0 && m_colour[at] != colour)
            at = (at + 1) & (kSlots - 1);
        *slot = at;
        return m_index[at];
    }
    void put(size_t slot, QRgb colour, int index)
    {
        m_colour[slot] = colour;
        m_index[slot] = qint16(index);
    }

private:
    static constexpr int kOrder = 9;
    static constexpr size_t kSlots = size_t(1) << kOrder;
    std::array<QRgb, kSlots> m_colour {};
    std::array<qint16, kSlots> m_index = [] {
        std::array<qint16, kSlots> empty {};
        empty.fill(-1);
        return empty;
    }();
};
} // namespace

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
    ColourSlots lookup;
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        uchar *out = indexed.scanLine(y);
        // Neighbouring pixels are mostly equal: remember the last one to skip the lookup.
        QRgb last = 0;
        uchar lastIndex = 0;
        bool haveLast = false;
        for (int x = 0; x < width; ++x) {
            const QRgb colour = in[x];
            if (haveLast && colour == last) {
                out[x] = lastIndex;
                continue;
            }
            size_t slot = 0;
            int index = lookup.find(colour, &slot);
            if (index < 0) {
                if (table.size() == maxColours)
                    return {};
                index = int(table.size());
                lookup.put(slot, colour, index);
                table.append(colour);
            }
            out[x] = lastIndex = uchar(index);
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
            for (int x = 0; x < width; ++x)
                line[x] = remap[line[x]];
        }
        table = sorted;
    }
    indexed.setColorTable(table);
    return indexed;
}

} // namespace quillet::image
