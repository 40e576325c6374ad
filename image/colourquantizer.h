#pragma once

#include <QImage>

namespace quillet::image {

// Lossy reduction to at most 256 colours with libimagequant, for pictures that have
// more colours than a palette can hold.
class ColourQuantizer
{
public:
    static constexpr int kMaxColours = 256;
    // 1 is slowest and best; our pictures are small, the whole window at most.
    static constexpr int kSpeed = 3;
    static constexpr float kDitherLevel = 1.0f;

    // Format_Indexed8 with at most 256 table entries, or a null image on failure.
    // Without dithering every flat area and text edge stays clean; with it, smooth
    // gradients lose their bands at the price of a noisy texture and larger files.
    static QImage toIndexed(const QImage &image, bool dither);
};

} // namespace quillet::image
