#include "image/webpencoder.h"

#include <webp/encode.h>

#include <algorithm>

namespace quillet::image::WebpEncoder {

namespace {
// Owns what the library allocates for one picture and one file.
struct Encoding
{
    WebPPicture picture {};
    WebPMemoryWriter writer {};
    bool pictureReady = false;

    Encoding()
    {
        pictureReady = WebPPictureInit(&picture) != 0;
        WebPMemoryWriterInit(&writer);
    }
    ~Encoding()
    {
        if (pictureReady)
            WebPPictureFree(&picture);
        WebPMemoryWriterClear(&writer);
    }
    Encoding(const Encoding &) = delete;
    Encoding &operator=(const Encoding &) = delete;
};
} // namespace

QByteArray encode(const QImage &image)
{
    if (image.isNull() || image.width() > kMaxSide || image.height() > kMaxSide)
        return {};
    // Straight ARGB words are the library's own pixel layout.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull())
        return {};

    WebPConfig config;
    if (!WebPConfigInit(&config))
        return {};
    config.lossless = 1;
    config.method = kMethod;
    config.quality = kEffort;
    config.exact = 0;
    config.thread_level = 0;
    if (!WebPValidateConfig(&config))
        return {};

    Encoding encoding;
    if (!encoding.pictureReady)
        return {};
    WebPPicture &picture = encoding.picture;
    picture.use_argb = 1;
    picture.width = argb.width();
    picture.height = argb.height();
    // The encoder rewrites hidden pixels in place, so it gets a copy of its own.
    if (!WebPPictureAlloc(&picture))
        return {};
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const uint32_t *>(argb.constScanLine(y));
        std::copy(line, line + argb.width(), picture.argb + qsizetype(y) * picture.argb_stride);
    }
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &encoding.writer;
    if (!WebPEncode(&config, &picture) || encoding.writer.size == 0)
        return {};
    return QByteArray(reinterpret_cast<const char *>(encoding.writer.mem), qsizetype(encoding.writer.size));
}

} // namespace quillet::image::WebpEncoder
