#pragma once

#include <QByteArray>
#include <QImage>

namespace quillet::image {

// GIF89a files through giflib: one image, global colour map of the smallest power of
// two that holds the palette, and no extension unless one colour is transparent.
class GifEncoder
{
public:
    static constexpr int kMaxSide = 65535;

    // The picture must be Format_Indexed8 with 1 to 256 table entries; anything else,
    // or a giflib failure, gives empty bytes. Alpha is not kept.
    static QByteArray encode(const QImage &indexed);
    // The same with table entry transparentIndex marked transparent in a graphics control
    // extension; an index outside the table gives empty bytes.
    static QByteArray encode(const QImage &indexed, int transparentIndex);
    // Entries in the colour map written for a palette of the given size.
    static int colourMapSize(int paletteSize);
};

} // namespace quillet::image
