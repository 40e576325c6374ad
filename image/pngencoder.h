#pragma once

#include <QByteArray>
#include <QImage>

namespace quillet::image {

// Small, lossless PNG files with nothing but the pixels: IHDR, PLTE/tRNS when
// indexed, IDAT, IEND. Each picture is stored in the layout that packs smallest among
// those its colours allow: palette (narrowest bit depth, entries as given or by use),
// grey (narrowest depth that holds its levels), or true colour; so is the row filtering.
class PngEncoder
{
public:
    // Palettes up to this long are always written as palettes (or grey); longer ones
    // also try true colour, which needs no palette chunk. On buttons true colour won
    // only from about 110 colours.
    static constexpr int kShortPalette = 96;

    // Format_Indexed8 pictures use their colour table (translucent entries stay first);
    // other pictures hold more colours than a palette, so they are grey, RGB, or RGBA
    // when the picture has an alpha channel.
    // Empty bytes when the picture is null or cannot be compressed.
    static QByteArray encode(const QImage &image);
    // The narrowest PNG bit depth that holds indices of a palette of that size.
    static int paletteBitDepth(int paletteSize);
};

} // namespace quillet::image
