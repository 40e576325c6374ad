#include "output/picturebytes.h"

#include "platform/image/alphapicture.h"
#include "platform/image/bmpcodec.h"
#include "platform/image/imageconverter.h"

namespace quillet::output {

using image::ImageConverter;

QString PictureBytes::extension(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp:
        return QStringLiteral(".bmp");
    case PictureFormat::Jpg:
        return QStringLiteral(".jpg");
    case PictureFormat::Gif:
        return QStringLiteral(".gif");
    case PictureFormat::Png:
        return QStringLiteral(".png");
    }
    return {};
}

bool PictureBytes::formatFromName(const QString &name, PictureFormat *format)
{
    const QString bare = (name.startsWith(u'.') ? name.mid(1) : name).toLower();
    for (PictureFormat f :
        { PictureFormat::Bmp, PictureFormat::Jpg, PictureFormat::Gif, PictureFormat::Png }) {
        if (extension(f).mid(1) == bare) {
            if (format)
                *format = f;
            return true;
        }
    }
    return false;
}

QByteArray PictureBytes::fromBmp(const QByteArray &bmp, PictureFormat format)
{
    if (format == PictureFormat::Bmp)
        return bmp;
    ImageConverter converter;
    if (!converter.loadFromMemory(bmp, ImageConverter::kLoadBmp))
        return {};
    switch (format) {
    case PictureFormat::Jpg:
        return converter.encode(ImageConverter::Jpeg);
    case PictureFormat::Gif:
        if (converter.colorDepth() > ImageConverter::kReducedDepth)
            converter.convertColorDepth(ImageConverter::kReducedDepth, false);
        return converter.encode(ImageConverter::Gif);
    case PictureFormat::Png:
        return converter.encode(ImageConverter::Png);
    case PictureFormat::Bmp:
        break;
    }
    return {};
}

QByteArray PictureBytes::opaque(const QImage &picture, PictureFormat format, const QColor &background)
{
    if (picture.isNull())
        return {};
    return fromBmp(image::BmpCodec::encode(image::AlphaPicture::composite(picture, background)), format);
}

QByteArray PictureBytes::transparent(const QImage &picture, PictureFormat format, const QColor &background)
{
    if (picture.isNull())
        return {};
    switch (format) {
    case PictureFormat::Png:
        return image::AlphaPicture::encodePng(picture);
    case PictureFormat::Gif:
        return image::AlphaPicture::encodeGif(picture, background);
    case PictureFormat::Bmp:
    case PictureFormat::Jpg:
        break;
    }
    return opaque(picture, format, background);
}

} // namespace quillet::output
