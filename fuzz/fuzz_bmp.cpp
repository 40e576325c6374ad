// Arbitrary bytes through everything the exporter does with a capture: load, ask the
// depth, reduce to a palette and encode in every format. Nothing may crash, leak or
// read out of bounds, and a loaded picture must always encode.
#include "image/bmpcodec.h"
#include "image/imageconverter.h"

#include <cstdint>
#include <cstdlib>

namespace {
// Keeps each run fast; larger pictures take the same code paths.
constexpr qint64 kEncodePixelLimit = qint64(1) << 20;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using quillet::image::ImageConverter;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    ImageConverter converter;
    const bool loaded = converter.loadFromMemory(bytes);
    const int depth = converter.colorDepth();
    if (loaded != (depth > 0))
        std::abort();
    if (!loaded)
        return 0;
    const QImage &picture = converter.picture();
    if (qint64(picture.width()) * picture.height() > kEncodePixelLimit)
        return 0;

    // A loaded picture encodes in every format, before and after the reduction.
    const QByteArray bmp = quillet::image::BmpCodec::encode(picture);
    if (bmp.isEmpty() || quillet::image::BmpCodec::decode(bmp).size() != picture.size())
        std::abort();
    for (const ImageConverter::Format format : { ImageConverter::Gif, ImageConverter::Png, ImageConverter::Jpeg }) {
        if (converter.encode(format).isEmpty())
            std::abort();
    }
    if (!converter.convertColorDepth(8, size % 2 == 1) || converter.colorDepth() != 8)
        std::abort();
    for (const ImageConverter::Format format : { ImageConverter::Gif, ImageConverter::Png }) {
        if (converter.encode(format).isEmpty())
            std::abort();
    }
    return 0;
}
