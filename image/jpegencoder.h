#pragma once

#include <QByteArray>
#include <QImage>

namespace quillet::image {

// Baseline JPEG through libjpeg, set up unlike Qt 6.4's writer, which always halves the
// colour resolution (4:2:0) and smears small red or blue button text: every component
// at full resolution (4:4:4), with Huffman tables built for each picture, which wins
// back most of the bytes the full chroma costs. Nothing in the file depends on the time.
class JpegEncoder
{
public:
    // At 4:4:4 and 92 the caption edges stay within a few levels of the source while
    // a 104 x 24 button stays near the size of a 4:2:0 file at 95.
    static constexpr int kQuality = 92;
    static constexpr int kMaxSide = 65535;

    // Empty bytes for a null picture, one too large for the format, or any failure the
    // library reports. Alpha is flattened on white, as a page behind the picture would
    // most often be.
    static QByteArray encode(const QImage &image, int quality = kQuality);
};

} // namespace quillet::image
