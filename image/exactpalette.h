#pragma once

#include <QImage>

namespace quillet::image {

// Lossless reduction: an 8-bit indexed copy whose colour table holds exactly the
// colours the picture uses, each once, so that writers can pick the smallest palette.
class ExactPalette
{
public:
    static constexpr int kMaxColours = 256;

    // Format_Indexed8 with one table entry per distinct colour (translucent entries
    // first, so that a transparency table can stop early), or a null image when the
    // picture is null or uses more than maxColours colours.
    static QImage toIndexed(const QImage &image, int maxColours = kMaxColours);
};

} // namespace quillet::image
