#pragma once

#include <QByteArray>
#include <QImage>

namespace quillet::image {

// Small, lossless PNG files with nothing but the pixels: IHDR, PLTE/tRNS when
// indexed, IDAT, IEND. Palette pictures get the narrowest bit depth (1, 2, 4 or 8) and
// the entry order (as given, or by use) that packs best; so does the row filtering.
class PngEncoder
{
public:
    // Format_Indexed8 pictures are written as palette PNGs (the table's colours, maybe
    // reordered; translucent entries stay first);
    // everything else as 8-bit RGB, or RGBA when the picture has an alpha channel.
    // Empty bytes when the picture is null or cannot be compressed.
    static QByteArray encode(const QImage &image);
    // The narrowest PNG bit depth that holds indices of a palette of that size.
    static int paletteBitDepth(int paletteSize);
};

} // namespace quillet::image
