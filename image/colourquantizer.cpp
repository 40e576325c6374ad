#include "image/colourquantizer.h"

#include <libimagequant.h>

#include <cstring>
#include <memory>

namespace quillet::image {

namespace {
struct AttrDeleter
{
    void operator()(liq_attr *p) const { liq_attr_destroy(p); }
};
struct ImageDeleter
{
    void operator()(liq_image *p) const { liq_image_destroy(p); }
};
struct ResultDeleter
{
    void operator()(liq_result *p) const { liq_result_destroy(p); }
};
} // namespace

QImage ColourQuantizer::toIndexed(const QImage &image, bool dither)
{
    if (image.isNull())
        return {};
    // libimagequant wants straight (not premultiplied) R, G, B, A bytes in memory order.
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    if (rgba.isNull() || rgba.bytesPerLine() != qsizetype(rgba.width()) * 4)
        return {};

    std::unique_ptr<liq_attr, AttrDeleter> attr(liq_attr_create());
    if (!attr || liq_set_max_colors(attr.get(), kMaxColours) != LIQ_OK
        || liq_set_speed(attr.get(), kSpeed) != LIQ_OK
        // A minimum of 0: always give a palette, however hard the picture is.
        || liq_set_quality(attr.get(), 0, 100) != LIQ_OK)
        return {};
    std::unique_ptr<liq_image, ImageDeleter> input(
        liq_image_create_rgba(attr.get(), rgba.constBits(), rgba.width(), rgba.height(), 0));
    if (!input)
        return {};
    liq_result *rawResult = nullptr;
    if (liq_image_quantize(input.get(), attr.get(), &rawResult) != LIQ_OK || !rawResult)
        return {};
    std::unique_ptr<liq_result, ResultDeleter> result(rawResult);
    if (liq_set_dithering_level(result.get(), dither ? kDitherLevel : 0.0f) != LIQ_OK)
        return {};

    QImage indexed(rgba.size(), QImage::Format_Indexed8);
    if (indexed.isNull())
        return {};
    const auto width = size_t(indexed.width());
    if (size_t(indexed.bytesPerLine()) == width) {
        if (liq_write_remapped_image(result.get(), input.get(), indexed.bits(), size_t(indexed.sizeInBytes()))
            != LIQ_OK)
            return {};
    } else {
        // Indexed8 rows are padded to four bytes; libimagequant writes tight rows.
        QByteArray tight(qsizetype(width) * indexed.height(), Qt::Uninitialized);
        if (liq_write_remapped_image(result.get(), input.get(), tight.data(), size_t(tight.size())) != LIQ_OK)
            return {};
        for (int y = 0; y < indexed.height(); ++y)
            std::memcpy(indexed.scanLine(y), tight.constData() + qsizetype(y) * qsizetype(width), width);
    }

    const liq_palette *palette = liq_get_palette(result.get());
    if (!palette || palette->count == 0 || palette->count > unsigned(kMaxColours))
        return {};
    QList<QRgb> table(qsizetype(palette->count));
    for (unsigned i = 0; i < palette->count; ++i) {
        const liq_color c = palette->entries[i];
        table[qsizetype(i)] = qRgba(c.r, c.g, c.b, c.a);
    }
    indexed.setColorTable(table);
    return indexed;
}

} // namespace quillet::image
