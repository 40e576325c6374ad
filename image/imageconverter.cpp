#include "image/imageconverter.h"

#include "image/bmpcodec.h"
#include "image/bmpheader.h"
#include "image/colourquantizer.h"
#include "image/exactpalette.h"
#include "image/gifencoder.h"
#include "image/jpegencoder.h"
#include "image/pngencoder.h"

namespace quillet::image {

namespace {
QImage toPalette(const QImage &image, bool dither)
{
    QImage indexed = ExactPalette::toIndexed(image);
    if (indexed.isNull())
        indexed = ColourQuantizer::toIndexed(image, dither);
    return indexed;
}
} // namespace

void ImageConverter::clear()
{
    m_picture = QImage();
    m_depth = 0;
}

bool ImageConverter::loadFromMemory(const QByteArray &bmpBytes)
{
    clear();
    const std::optional<BmpHeader> header = BmpHeader::parse(bmpBytes);
    if (!header)
        return false;
    const QImage image = BmpCodec::decode(bmpBytes);
    if (image.isNull())
        return false;
    m_picture = image;
    m_depth = header->bitsPerPixel;
    return true;
}

bool ImageConverter::loadOpaque(const QImage &picture)
{
    clear();
    QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return false;
    rgb.setDevicePixelRatio(1.0);
    m_picture = rgb;
    m_depth = kTrueColourDepth;
    return true;
}

int ImageConverter::colorDepth() const
{
    return m_picture.isNull() ? 0 : m_depth;
}

bool ImageConverter::convertColorDepth(int bits, bool dither)
{
    if (m_picture.isNull())
        return false;
    if (bits == kReducedDepth) {
        if (m_depth == kReducedDepth && m_picture.format() == QImage::Format_Indexed8)
            return true;
        const QImage indexed = toPalette(m_picture, dither);
        if (indexed.isNull())
            return false;
        m_picture = indexed;
        m_depth = kReducedDepth;
        return true;
    }
    if (bits == kTrueColourDepth) {
        const QImage rgb = m_picture.convertToFormat(
            m_picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (rgb.isNull())
            return false;
        m_picture = rgb;
        m_depth = kTrueColourDepth;
        return true;
    }
    return false;
}

QByteArray ImageConverter::encode(Format format) const
{
    if (m_picture.isNull())
        return {};
    switch (format) {
    case Gif:
        return GifEncoder::encode(toPalette(m_picture, false));
    case Jpeg:
        return JpegEncoder::encode(m_picture);
    case Png: {
        // Lossless: the exact palette, when the colours fit one, competes with grey and
        // true colour.
        const QImage indexed = ExactPalette::toIndexed(m_picture);
        return PngEncoder::encode(indexed.isNull() ? m_picture : indexed);
    }
    }
    return {};
}

} // namespace quillet::image
