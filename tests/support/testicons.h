#pragma once

#include "support/testfiles.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QString>

// Icon files for the tests and benchmarks: squares fill their whole box, so the icon's
// pixels and edges can be found exactly; the checkered PNG shows any resampling.
namespace testicons {

// A full square in `fill` (a colour or "currentColor").
inline QByteArray squareSvg(const char *fill)
{
    return QByteArray(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 16 16">)")
        + R"(<rect x="0" y="0" width="16" height="16" fill=")" + fill + R"("/></svg>)";
}

// A disk and a bar in currentColor: curved and straight edges, as a real icon has.
inline QByteArray glyphSvg()
{
    return R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24">)"
           R"(<circle cx="12" cy="9" r="7" fill="currentColor"/>)"
           R"(<rect x="3" y="19" width="18" height="3" style="fill:CurrentColor"/></svg>)";
}

inline QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

inline QImage solid(int side, const QColor &colour)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// Cells of `cell` pixels in two colours.
inline QImage checkered(int side, int cell, const QColor &a, const QColor &b)
{
    QImage image(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixelColor(x, y, ((x / cell + y / cell) % 2) ? b : a);
    return image;
}

inline QString write(const QString &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = folder + u'/' + name;
    return writeAll(path, bytes) ? path : QString();
}

} // namespace testicons
