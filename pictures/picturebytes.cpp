#include "pictures/picturebytes.h"

#include "image/alphapicture.h"
#include "image/bmpcodec.h"
#include "image/imageconverter.h"
#include "image/pngencoder.h"
#include "image/webpencoder.h"

namespace quillet::pictures::PictureBytes {

using image::ImageConverter;

namespace {
QByteArray converted(ImageConverter &converter, PictureFormat format)
{
    switch (format) {
    case PictureFormat::Jpg:
        return converter.encode(ImageConverter::Jpeg);
    case PictureFormat::Gif:
        if (converter.colorDepth() > ImageConverter::kReducedDepth)
            converter.convertColorDepth(ImageConverter::kReducedDepth, false);
        return converter.encode(ImageConverter::Gif);
    case PictureFormat::Png:
        return converter.encode(ImageConverter::Png);
    case PictureFormat::Webp:
        return image::WebpEncoder::encode(converter.picture());
    case PictureFormat::Bmp:
        break;
    }
    return {};
}
} // namespace

QByteArray fromBmp(const QByteArray &bmp, PictureFormat format)
{
    if (format == PictureFormat::Bmp)
        return bmp;
    ImageConverter converter;
    if (!converter.loadFromMemory(bmp))
        return {};
    return converted(converter, format);
}

QByteArray lossless(const QImage &picture)
{
    return image::PngEncoder::encode(picture);
}

QByteArray opaque(const QImage &picture, PictureFormat format, const QColor &background)
{
    if (picture.isNull())
        return {};
    // The same bytes as the designer's BMP captures give, without the round trip.
    const QImage flat = image::AlphaPicture::composite(picture, background);
    if (format == PictureFormat::Bmp)
        return image::BmpCodec::encode(flat);
    ImageConverter converter;
    if (!converter.loadOpaque(flat))
        return {};
    return converted(converter, format);
}

QByteArray transparent(const QImage &picture, PictureFormat format, const QColor &background)
{
    if (picture.isNull())
        return {};
    switch (format) {
    case PictureFormat::Png:
        return image::AlphaPicture::encodePng(picture);
    case PictureFormat::Gif:
        return image::AlphaPicture::encodeGif(picture, background);
    case PictureFormat::Webp:
        return image::WebpEncoder::encode(picture);
    case PictureFormat::Bmp:
    case PictureFormat::Jpg:
        break;
    }
    return opaque(picture, format, background);
}

} // namespace quillet::pictures::PictureBytes
