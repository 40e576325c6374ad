#include "image/bmpcodec.h"

#include "image/bmpheader.h"

#include <QtEndian>

#include <limits>

namespace quillet::image {

namespace {
constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kBytesPerPixel = 3;
constexpr int kPixelsPerMetre96Dpi = 3780;

template<typename T> void put(char *&at, T value)
{
    qToLittleEndian(value, at);
    at += sizeof(T);
}
} // namespace

QByteArray BmpCodec::encode(const QImage &image)
{
    if (image.isNull())
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const qint64 stride = (qint64(rgb.width()) * kBytesPerPixel + 3) & ~qint64(3);
    const qint64 pixelBytes = stride * rgb.height();
    const qint64 total = kFileHeaderSize + kInfoHeaderSize + pixelBytes;
    if (total > std::numeric_limits<qint32>::max())
        return {};

    QByteArray bytes(static_cast<qsizetype>(total), '\0');
    char *at = bytes.data();
    put<quint8>(at, 'B');
    put<quint8>(at, 'M');
    put<quint32>(at, quint32(total));
    put<quint32>(at, 0);
    put<quint32>(at, kFileHeaderSize + kInfoHeaderSize);
    put<quint32>(at, kInfoHeaderSize);
    put<qint32>(at, rgb.width());
    put<qint32>(at, rgb.height()); // positive: bottom-up rows
    put<quint16>(at, 1);
    put<quint16>(at, kBytesPerPixel * 8);
    put<quint32>(at, 0); // BI_RGB
    put<quint32>(at, quint32(pixelBytes));
    put<qint32>(at, kPixelsPerMetre96Dpi);
    put<qint32>(at, kPixelsPerMetre96Dpi);
    put<quint32>(at, 0);
    put<quint32>(at, 0);

    for (int y = rgb.height() - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        char *row = at;
        for (int x = 0; x < rgb.width(); ++x) {
            *row++ = char(qBlue(line[x]));
            *row++ = char(qGreen(line[x]));
            *row++ = char(qRed(line[x]));
        }
        at += stride;
    }
    return bytes;
}

QImage BmpCodec::decode(const QByteArray &bytes)
{
    const std::optional<BmpHeader> header = BmpHeader::parse(bytes);
    if (!header)
        return {};
    QImage image = QImage::fromData(bytes, "BMP");
    // The reader may still refuse, or read other dimensions than the header promised.
    if (image.width() != header->width || image.height() != header->height)
        return {};
    return image;
}

} // namespace quillet::image
