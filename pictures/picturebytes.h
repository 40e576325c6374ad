#pragma once

#include "pictures/pictureformat.h"

#include <QByteArray>
#include <QColor>
#include <QImage>

namespace quillet::pictures {

// File bytes of one rendered picture. Opaque pictures take exactly the designer's path
// (24-bit BMP, then the converter), so a rendered picture equal to a captured one gives
// the same file.
namespace PictureBytes {

inline QString extension(PictureFormat format)
{
    return Formats::info(format).extension.toString();
}
inline bool keepsAlpha(PictureFormat format)
{
    return Formats::info(format).keepsAlpha;
}

// The picture on the background colour, written as the designer writes a capture.
QByteArray opaque(const QImage &picture, PictureFormat format, const QColor &background);
// PNG and WebP keep the alpha channel, GIF one transparent colour (edges blended on the
// background colour); BMP and JPG are opaque on the background colour.
QByteArray transparent(const QImage &picture, PictureFormat format, const QColor &background);
// A PNG of exactly these pixels, alpha included, in the layout that packs smallest.
QByteArray lossless(const QImage &picture);
// What the designer writes for captured BMP bytes.
QByteArray fromBmp(const QByteArray &bmp, PictureFormat format);

} // namespace PictureBytes

} // namespace quillet::pictures
