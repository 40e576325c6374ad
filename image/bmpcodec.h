#pragma once

#include <QByteArray>
#include <QImage>

namespace quillet::image {

// Complete Windows BMP files (file header, BITMAPINFOHEADER, pixels), as the form
// runtime's snapshot hands them on and the exporter writes them byte for byte.
class BmpCodec
{
public:
    // 24 bits per pixel, bottom-up rows padded to four bytes; alpha is dropped.
    static QByteArray encode(const QImage &image);
    // Any BMP the program may meet; a null image for bytes that are not one, and for
    // headers that promise more pixels than BmpHeader allows or than the file holds.
    static QImage decode(const QByteArray &bytes);
};

} // namespace quillet::image
