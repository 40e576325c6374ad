#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

class QSvgRenderer;

namespace quillet::render {

// Why an icon file cannot be used: empty when it can, else "does not exist", "cannot be
// read" or "is not an SVG or PNG picture". The file's content decides, not its name.
QString iconProblem(const QString &path);

// An icon file read and parsed once. Its pixels for each size, colour and fade are made
// once and kept, so thousands of pictures do not parse or rasterise it again. One thread
// draws with it (the caches are not locked).
class LoadedIcon
{
public:
    // Null when the file is missing, unreadable or neither picture.
    static std::shared_ptr<const LoadedIcon> load(const QString &path);
    static std::shared_ptr<const LoadedIcon> fromBytes(const QByteArray &bytes);
    ~LoadedIcon();

    // An SVG that paints with currentColor: it takes the caption's colour in every state.
    bool takesTextColour() const { return m_textColoured; }
    // The box of an icon this many pixels high; its width keeps the picture's proportions.
    QSize box(int height) const;
    // The icon filling exactly devicePixels, with the ratio set, currentColor painted in
    // `colour`. A fade below 1 greys it and lowers its opacity to that, as a disabled
    // caption is faded.
    QImage pixels(const QSize &devicePixels, qreal ratio, const QColor &colour, qreal fade) const;

private:
    LoadedIcon() = default;
    QSvgRenderer *rendererFor(const QColor &colour) const;
    QImage rasterise(const QSize &devicePixels, const QColor &colour) const;

    QByteArray m_svg; // empty for a PNG icon
    QImage m_raster;
    QSizeF m_natural;
    bool m_textColoured = false;
    mutable QHash<QRgb, std::shared_ptr<QSvgRenderer>> m_renderers;
    mutable QHash<QString, QImage> m_pixels;
};

} // namespace quillet::render
