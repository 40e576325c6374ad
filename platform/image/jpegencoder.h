#pragma once

#include <QByteArray>
#include <QImage>

namespace quillet::image {

// Baseline JPEG of our own, because Qt 6.4's writer always halves the colour
// resolution (4:2:0), which smears small red or blue button text. Here every
// component is kept at full resolution (4:4:4) and the Huffman tables are built
// for each picture, which wins back most of the bytes the full chroma costs.
class JpegEncoder
{
public:
    // At 4:4:4 and 92 the caption edges stay within a few levels of the source while
    // a 104 x 24 button stays near the size of a 4:2:0 file at 95.
    static constexpr int kQuality = 92;
    static constexpr int kMaxSide = 65535;

    // Empty bytes for a null picture or one too large for the format. Alpha is
    // flattened on white, as a page behind the picture would most often be.
    static QByteArray encode(const QImage &image, int quality = kQuality);
};

} // namespace quillet::image
