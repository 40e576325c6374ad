#pragma once

#include <QByteArray>

#include <optional>

namespace quillet::image {

// The few header fields that decide whether a BMP file can be decoded safely, read
// without trusting any of them: a file of a few bytes must not make us allocate a
// picture of gigabytes, and uncompressed pixel data must really be present.
class BmpHeader
{
public:
    static constexpr int kMaxSide = 16384;
    static constexpr qint64 kMaxPixels = qint64(4096) * 4096;

    enum Compression { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

    int width = 0;
    int height = 0; // always positive; topDown tells the row order
    bool topDown = false;
    int bitsPerPixel = 0;
    int compression = Rgb;
    quint32 dataOffset = 0;

    // Nothing when the bytes are not a BMP file we are willing to decode.
    static std::optional<BmpHeader> parse(const QByteArray &bytes);
};

} // namespace quillet::image
