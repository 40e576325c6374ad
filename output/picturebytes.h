#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

namespace quillet::output {

// Output formats in the order of the designer's format list.
enum class PictureFormat { Bmp = 0, Jpg = 1, Gif = 2, Png = 3 };

// File bytes of one rendered picture. Opaque pictures take exactly the designer's path
// (24-bit BMP, then the converter), so a rendered picture equal to a captured one gives
// the same file.
class PictureBytes
{
public:
    static QString extension(PictureFormat format);
    // The format whose extension (with or without the dot, any case) this is.
    static bool formatFromName(const QString &name, PictureFormat *format);
    // Whether this format can keep a see-through background.
    static bool keepsAlpha(PictureFormat format)
    {
        return format == PictureFormat::Png || format == PictureFormat::Gif;
    }

    // The picture on the background colour, written as the designer writes a capture.
    static QByteArray opaque(const QImage &picture, PictureFormat format, const QColor &background);
    // PNG keeps the alpha channel, GIF one transparent colour (edges blended on the
    // background colour); BMP and JPG are opaque on the background colour.
    static QByteArray transparent(const QImage &picture, PictureFormat format, const QColor &background);
    // What the designer writes for captured BMP bytes.
    static QByteArray fromBmp(const QByteArray &bmp, PictureFormat format);
};

} // namespace quillet::output
