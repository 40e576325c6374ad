#include "render/loadedicon.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

namespace quillet::render {

namespace {

// Larger files are no icons; they are refused before they are read whole.
constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;
constexpr int kMaxRasterSide = 4096;
// A handful of sizes, colours and fades per designer session or export; a long session
// that runs through many fonts starts the cache afresh rather than growing it.
constexpr int kMaxCachedPixels = 64;
constexpr int kMaxWidthPerHeight = 4;

const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);
const QByteArray kCurrentColour("currentcolor");

bool mentionsCurrentColour(const QByteArray &svg)
{
    return svg.toLower().contains(kCurrentColour);
}

// currentColor is a CSS keyword, so any case; replaced in the text before parsing so that
// fills, strokes and styles all take the colour alike.
QByteArray withColour(const QByteArray &svg, const QColor &colour)
{
    const QByteArray lower = svg.toLower();
    const QByteArray name = colour.name(QColor::HexRgb).toLatin1();
    QByteArray out;
    out.reserve(svg.size());
    qsizetype from = 0;
    for (qsizetype at = lower.indexOf(kCurrentColour); at >= 0; at = lower.indexOf(kCurrentColour, from)) {
        out += svg.mid(from, at - from);
        out += name;
        from = at + kCurrentColour.size();
    }
    out += svg.mid(from);
    return out;
}

std::unique_ptr<QSvgRenderer> parsedSvg(const QByteArray &svg, const QColor &colour)
{
    if (!svg.contains("<svg"))
        return nullptr;
    auto renderer = std::make_unique<QSvgRenderer>(withColour(svg, colour));
    if (!renderer->isValid())
        return nullptr;
    renderer->setAspectRatioMode(Qt::KeepAspectRatio);
    return renderer;
}

enum class Problem { None, Missing, Unreadable, NotPicture };

Problem readFile(const QString &path, QByteArray &bytes)
{
    const QFileInfo info(path);
    if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
        return Problem::Missing;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return Problem::Unreadable;
    if (file.size() > kMaxFileBytes)
        return Problem::NotPicture;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? Problem::None : Problem::Unreadable;
}

} // namespace

QString iconProblem(const QString &path)
{
    QByteArray bytes;
    switch (readFile(path, bytes)) {
    case Problem::Missing:
        return QStringLiteral("does not exist");
    case Problem::Unreadable:
        return QStringLiteral("cannot be read");
    case Problem::NotPicture:
        break;
    case Problem::None:
        if (LoadedIcon::fromBytes(bytes))
            return {};
        break;
    }
    return QStringLiteral("is not an SVG or PNG picture");
}

LoadedIcon::~LoadedIcon() = default;

std::shared_ptr<const LoadedIcon> LoadedIcon::load(const QString &path)
{
    QByteArray bytes;
    return readFile(path, bytes) == Problem::None ? fromBytes(bytes) : nullptr;
}

std::shared_ptr<const LoadedIcon> LoadedIcon::fromBytes(const QByteArray &bytes)
{
    std::shared_ptr<LoadedIcon> icon(new LoadedIcon);
    if (bytes.startsWith(kPngSignature)) {
        const QImage image = QImage::fromData(bytes, "PNG");
        if (image.isNull() || image.width() > kMaxRasterSide || image.height() > kMaxRasterSide)
            return nullptr;
        icon->m_raster = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        icon->m_natural = image.size();
        return icon;
    }
    const std::unique_ptr<QSvgRenderer> svg = parsedSvg(bytes, Qt::black);
    if (!svg)
        return nullptr;
    const QSizeF view = svg->viewBoxF().size();
    icon->m_natural = view.isEmpty() ? QSizeF(svg->defaultSize()) : view;
    icon->m_svg = bytes;
    icon->m_textColoured = mentionsCurrentColour(bytes);
    return icon;
}

QSize LoadedIcon::box(int height) const
{
    const int h = qMax(1, height);
    if (m_natural.isEmpty())
        return { h, h };
    const int w = qRound(h * m_natural.width() / m_natural.height());
    return { qBound(1, w, kMaxWidthPerHeight * h), h };
}

QSvgRenderer *LoadedIcon::rendererFor(const QColor &colour) const
{
    const QRgb key = m_textColoured ? colour.rgb() : 0;
    auto found = m_renderers.constFind(key);
    if (found == m_renderers.constEnd())
        found = m_renderers.insert(key, std::shared_ptr<QSvgRenderer>(parsedSvg(m_svg, colour)));
    return found->get();
}

QImage LoadedIcon::rasterise(const QSize &devicePixels, const QColor &colour) const
{
    if (m_svg.isEmpty()) {
        // A PNG with exactly the pixels asked for is used as it is; any other is resampled
        // smoothly (area-averaged when it is larger).
        return m_raster.size() == devicePixels
            ? m_raster
            : m_raster.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    QImage image(devicePixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (QSvgRenderer *renderer = rendererFor(colour)) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer->render(&painter, QRectF(QPointF(0, 0), QSizeF(devicePixels)));
    }
    return image;
}

QImage LoadedIcon::pixels(const QSize &devicePixels, qreal ratio, const QColor &colour, qreal fade) const
{
    if (devicePixels.isEmpty())
        return {};
    const qreal opacity = qBound(0.0, fade, 1.0);
    const QString key = QStringLiteral("%1x%2@%3 %4 %5")
                            .arg(devicePixels.width())
                            .arg(devicePixels.height())
                            .arg(ratio)
                            .arg(m_textColoured ? colour.rgba() : 0u)
                            .arg(qRound(opacity * 1000));
    if (const auto found = m_pixels.constFind(key); found != m_pixels.constEnd())
        return *found;
    QImage image = rasterise(devicePixels, colour);
    if (opacity < 1.0) {
        // Premultiplied, so the grey of the stored channels is the grey of the colour
        // already weighted by its alpha, and one factor fades all four.
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = line[x];
                const int grey = qRound(qGray(p) * opacity);
                const int alpha = qRound(qAlpha(p) * opacity);
                const int g = qMin(grey, alpha);
                line[x] = qRgba(g, g, g, alpha);
            }
        }
    }
    image.setDevicePixelRatio(ratio);
    if (m_pixels.size() >= kMaxCachedPixels)
        m_pixels.clear();
    m_pixels.insert(key, image);
    return image;
}

} // namespace quillet::render
