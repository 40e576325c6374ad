#include "image/bmpheader.h"

#include <QtEndian>

namespace quillet::image {

namespace {
constexpr qsizetype kFileHeaderSize = 14;
constexpr quint32 kCoreHeaderSize = 12;
constexpr quint32 kInfoHeaderSize = 40;
constexpr quint32 kLargestInfoHeaderSize = 124;

template<typename T> T read(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<T>(bytes.constData() + at);
}

bool knownDepth(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool compressionFits(int compression, int bits)
{
    switch (compression) {
    case BmpHeader::Rgb:
        return true;
    case BmpHeader::Rle8:
        return bits == 8;
    case BmpHeader::Rle4:
        return bits == 4;
    case BmpHeader::BitFields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}
} // namespace

std::optional<BmpHeader> BmpHeader::parse(const QByteArray &bytes)
{
    if (bytes.size() < kFileHeaderSize + qsizetype(kCoreHeaderSize) || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;

    BmpHeader header;
    header.dataOffset = read<quint32>(bytes, 10);
    const quint32 infoSize = read<quint32>(bytes, kFileHeaderSize);
    qint64 width = 0;
    qint64 height = 0;
    if (infoSize == kCoreHeaderSize) {
        width = read<quint16>(bytes, kFileHeaderSize + 4);
        height = read<quint16>(bytes, kFileHeaderSize + 6);
        header.bitsPerPixel = read<quint16>(bytes, kFileHeaderSize + 10);
    } else if (infoSize >= kInfoHeaderSize && infoSize <= kLargestInfoHeaderSize
        && bytes.size() >= kFileHeaderSize + qsizetype(infoSize)) {
        width = read<qint32>(bytes, kFileHeaderSize + 4);
        height = read<qint32>(bytes, kFileHeaderSize + 8);
        header.bitsPerPixel = read<quint16>(bytes, kFileHeaderSize + 14);
        header.compression = int(read<quint32>(bytes, kFileHeaderSize + 16));
    } else {
        return std::nullopt;
    }

    header.topDown = height < 0;
    height = height < 0 ? -height : height; // qint64: no overflow for INT_MIN
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        return std::nullopt;
    if (!knownDepth(header.bitsPerPixel) || !compressionFits(header.compression, header.bitsPerPixel))
        return std::nullopt;
    if (header.topDown && (header.compression == Rle8 || header.compression == Rle4))
        return std::nullopt;
    if (header.dataOffset < kFileHeaderSize + infoSize || header.dataOffset >= quint64(bytes.size()))
        return std::nullopt;

    const bool runLength = header.compression == Rle8 || header.compression == Rle4;
    if (!runLength) {
        const qint64 stride = ((width * header.bitsPerPixel + 31) / 32) * 4;
        if (stride * height > qint64(bytes.size()) - qint64(header.dataOffset))
            return std::nullopt;
    }
    header.width = int(width);
    header.height = int(height);
    return header;
}

} // namespace quillet::image
