#pragma once

#include <QByteArray>
#include <QImage>

namespace quillet::image {

// Baseline JPEG through Qt's writer with optimised Huffman tables (smaller, same
// pixels). Qt 6.4 offers no chroma subsampling choice and always writes 4:2:0.
class JpegEncoder
{
public:
    // At 95 the ringing around small button text is hard to see; at 90 it shows on
    // light gradients, and 100 costs about half as many bytes again for little.
    static constexpr int kQuality = 95;

    // Empty bytes for a null picture or a writer failure. Alpha is flattened on white.
    static QByteArray encode(const QImage &image, int quality = kQuality);
};

} // namespace quillet::image
