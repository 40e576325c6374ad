#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

namespace quillet::image {

// Files for pictures whose background is see-through: PNG keeps every alpha level,
// GIF has one transparent colour and nothing in between.
class AlphaPicture
{
public:
    // Pixels at least this opaque are kept in a GIF (blended on the matte), the rest
    // become the transparent colour.
    static constexpr int kGifAlphaThreshold = 128;

    // Palette PNG with a transparency table when the picture has at most 256 distinct
    // colour+alpha pairs, otherwise 8-bit RGBA. Empty bytes for a null picture.
    static QByteArray encodePng(const QImage &picture);
    // The GIF of gifPalette(); empty bytes on failure.
    static QByteArray encodeGif(const QImage &picture, const QColor &matte);
    // Indexed picture for a GIF: pixels at kGifAlphaThreshold or above are blended on the
    // matte and opaque; the rest share one table entry of alpha 0, returned through
    // transparentIndex (-1 when no pixel is transparent). Null on failure.
    static QImage gifPalette(const QImage &picture, const QColor &matte, int *transparentIndex);
    // The see-through picture whose blend on black is onBlack and on white is onWhite (to
    // within one level): what shows through is the difference between the two. Both must
    // be opaque pictures of one size; the result is ARGB32_Premultiplied with their ratio.
    static QImage fromGrounds(const QImage &onBlack, const QImage &onWhite);
    // The picture blended on an opaque colour, as RGB32.
    static QImage composite(const QImage &picture, const QColor &background);
};

} // namespace quillet::image
