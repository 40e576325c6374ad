#include "skin/skinpainter.h"

#include "skin/accent.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace quillet::skin {

namespace {

constexpr qint64 kMaxPictureBytes = 4 * 1024 * 1024;
constexpr int kMaxPictureSide = 4096;
constexpr int kArrowWidth = 7;
constexpr int kSmallArrowWidth = 5;
constexpr int kMarkSide = 7;
constexpr qreal kGlossTop = 0.95;
constexpr qreal kGlossBottom = 0.25;
constexpr qreal kPictureLighten = 0.22;
constexpr qreal kPictureDarken = 0.16;
constexpr qreal kPictureFade = 0.55;
constexpr qreal kSunkenInnerLight = 0.3;
// The columns of a dotted focus ring counted from its right corner rather than its left.
constexpr int kFocusRightSpan = 2;
// A quarter circle as one cubic: the share of the radius its control points lie along
// the edges (Qt's own constant, so corners keep their look).
constexpr qreal kKappa = 0.5522847498;
// Corner offsets are whole 1/1024 pixels: exact in a double, and after Qt halves a cubic
// as often as it may, still exact at the largest picture side.
constexpr qreal kCornerGrid = 1024;

// The classic 7 x 7 check mark, row by row.
constexpr std::array<const char *, kMarkSide> kMark
    = { "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...." };

bool visible(const QColor &c)
{
    return c.isValid() && c.alpha() > 0;
}

// Control points a corner's cubic keeps from its edges: a binary fraction, so that a
// corner moved by whole pixels (or scaled by a whole ratio) is the same curve, exactly.
qreal snapped(qreal offset)
{
    return std::round(offset * kCornerGrid) / kCornerGrid;
}

// Qt's rounded rectangle turns the radius into a share of the width and back and places
// each arc from the rectangle's far edge; both round differently at different widths, so
// an antialiased corner pixel changed with the width and caps cut from a wide button did
// not fit a narrow one. Here each corner is one quarter-ellipse cubic, as Qt draws it, at
// offsets that do not depend on where the corner lies.
QPainterPath rounded(const QRectF &r, qreal radius)
{
    QPainterPath path;
    const qreal rx = snapped(std::min(radius, r.width() / 2));
    const qreal ry = snapped(std::min(radius, r.height() / 2));
    if (rx <= 0 || ry <= 0) {
        path.addRect(r);
        return path;
    }
    const qreal cx = snapped(rx * (1 - kKappa));
    const qreal cy = snapped(ry * (1 - kKappa));
    const qreal left = r.left();
    const qreal top = r.top();
    const qreal right = r.right();
    const qreal bottom = r.bottom();
    path.moveTo(left, top + ry);
    path.cubicTo(left, top + cy, left + cx, top, left + rx, top);
    path.lineTo(right - rx, top);
    path.cubicTo(right - cx, top, right, top + cy, right, top + ry);
    path.lineTo(right, bottom - ry);
    path.cubicTo(right, bottom - cy, right - cx, bottom, right - rx, bottom);
    path.lineTo(left + rx, bottom);
    path.cubicTo(left + cx, bottom, left, bottom - cy, left, bottom - ry);
    path.closeSubpath();
    return path;
}

QColor mixed(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF());
}

void line(QPainter *p, int x, int y, int w, int h, const QColor &c)
{
    if (visible(c) && w > 0 && h > 0)
        p->fillRect(x, y, w, h, c);
}

// One bevel ring: top and left in one colour, bottom and right in another.
void ring(QPainter *p, const QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    line(p, r.left(), r.top(), r.width(), 1, topLeft);
    line(p, r.left(), r.top() + 1, 1, r.height() - 1, topLeft);
    line(p, r.left() + 1, r.bottom(), r.width() - 1, 1, bottomRight);
    line(p, r.right(), r.top() + 1, 1, r.height() - 2, bottomRight);
}

void applyEffect(QImage &image, Effect effect)
{
    if (effect == Effect::None)
        return;
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = QColor::fromRgba(row[x]);
            QColor out;
            switch (effect) {
            case Effect::Lighter:
                out = mixed(c, QColor(Qt::white), kPictureLighten);
                break;
            case Effect::Darker:
                out = mixed(c, QColor(Qt::black), kPictureDarken);
                break;
            default: {
                const int g = qGray(row[x]);
                out = mixed(QColor(g, g, g), QColor(Qt::white), kPictureFade);
                out.setAlpha(c.alpha());
                break;
            }
            }
            out.setAlpha(c.alpha());
            row[x] = out.rgba();
        }
    }
}

// Splits [0, size) into three spans with the given ends; ends shrink evenly when they
// do not fit.
std::array<std::pair<qreal, qreal>, 3> spans(qreal size, qreal first, qreal last)
{
    if (first + last > size && first + last > 0) {
        const qreal k = size / (first + last);
        first *= k;
        last *= k;
    }
    return { std::pair { 0.0, first }, std::pair { first, size - first - last },
        std::pair { size - last, last } };
}

qreal pixelRatio(const QPainter *p)
{
    return p->device() ? p->device()->devicePixelRatioF() : 1.0;
}

// One box blur pass of the given radius along rows (or columns), on premultiplied pixels
// so that colour and coverage spread together; outside the image is transparent.
void boxBlur(QImage &image, int radius, bool rows)
{
    if (radius <= 0)
        return;
    const int lines = rows ? image.height() : image.width();
    const int length = rows ? image.width() : image.height();
    const int window = 2 * radius + 1;
    std::vector<QRgb> in(static_cast<size_t>(length));
    for (int l = 0; l < lines; ++l) {
        const auto at = [&](int i) -> QRgb & {
            return rows ? reinterpret_cast<QRgb *>(image.scanLine(l))[i]
                        : reinterpret_cast<QRgb *>(image.scanLine(i))[l];
        };
        for (int i = 0; i < length; ++i)
            in[static_cast<size_t>(i)] = at(i);
        std::array<int, 4> sum {};
        const auto add = [&](int i, int sign) {
            if (i < 0 || i >= length)
                return;
            const QRgb c = in[static_cast<size_t>(i)];
            sum[0] += sign * qAlpha(c);
            sum[1] += sign * qRed(c);
            sum[2] += sign * qGreen(c);
            sum[3] += sign * qBlue(c);
        };
        for (int i = -radius; i < radius; ++i)
            add(i, 1);
        for (int i = 0; i < length; ++i) {
            add(i + radius, 1);
            at(i) = qRgba(sum[1] / window, sum[2] / window, sum[3] / window, sum[0] / window);
            add(i - radius, -1);
        }
    }
}

// The picture `strip` made `width` device pixels wide: its first `left` and last `right`
// columns as they are, the column after the left ones repeated between them. That column
// rather than the centre one, so that a picture whose middle changes along its width (a
// glow) still meets both ends without a step where it is symmetric.
QImage widened(const QImage &strip, int width, int left, int right)
{
    if (left + right >= strip.width() || width < left + right)
        return strip;
    QImage out(width, strip.height(), strip.format());
    out.setDevicePixelRatio(strip.devicePixelRatio());
    for (int y = 0; y < strip.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(strip.constScanLine(y));
        auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
        std::copy(from, from + left, to);
        std::fill(to + left, to + width - right, from[left]);
        std::copy(from + strip.width() - right, from + strip.width(), to + width - right);
    }
    return out;
}

} // namespace

SkinPainter::SkinPainter() = default;
SkinPainter::~SkinPainter() = default;

void SkinPainter::panel(QPainter *p, const QRect &whole, const Look &look) const
{
    const QRect rect = whole.marginsRemoved(look.margin);
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    if (visible(look.shadow))
        shadow(p, whole, rect, look);
    if (!look.image.isEmpty() && paintPicture(p, rect, look))
        return;
    p->save();
    const int shortSide = std::min(rect.width(), rect.height());
    const int border = visible(look.border) ? std::min(look.borderWidth, shortSide / 2) : 0;
    const qreal radius = std::min<qreal>(look.radius, shortSide / 2.0);
    p->setRenderHint(QPainter::Antialiasing, radius > 0);
    p->setPen(Qt::NoPen);

    QRect content = rect.adjusted(border, border, -border, -border);
    const qreal innerRadius = std::max<qreal>(0.0, radius - border);
    if (border > 0) {
        QPainterPath frame = rounded(QRectF(rect), radius);
        frame.addPath(rounded(QRectF(content), innerRadius));
        frame.setFillRule(Qt::OddEvenFill);
        p->fillPath(frame, look.border);
    }

    QRect face = content;
    if (look.bevel != Bevel::None && content.width() > 1 && content.height() > 1) {
        const QColor faceColour = look.fill.isEmpty() ? look.bevelLight : look.fill.first().colour;
        const bool raised = look.bevel == Bevel::Raised;
        const int width = std::min(look.bevelWidth, std::min(content.width(), content.height()) / 2);
        for (int i = 0; i < width; ++i) {
            const QRect r = content.adjusted(i, i, -i, -i);
            const bool outer = i == 0;
            const bool single = width == 1;
            if (raised)
                ring(p, r, outer ? look.bevelLight : mixed(look.bevelLight, faceColour, 0.5),
                    outer && !single ? look.bevelDark : look.bevelShadow);
            else
                ring(p, r, outer ? look.bevelShadow : look.bevelDark,
                    outer ? look.bevelLight : mixed(look.bevelLight, look.bevelShadow, kSunkenInnerLight));
        }
        face = content.adjusted(width, width, -width, -width);
    }

    if (!face.isEmpty()) {
        const QPainterPath facePath = rounded(QRectF(face), innerRadius);
        if (look.fill.size() == 1) {
            p->fillPath(facePath, look.fill.first().colour);
        } else if (!look.fill.isEmpty()) {
            const QRectF f(face);
            QLinearGradient g(f.topLeft(), look.horizontalFill ? f.topRight() : f.bottomLeft());
            for (const GradientStop &s : look.fill)
                g.setColorAt(s.position, s.colour);
            p->fillPath(facePath, g);
        }
        if (look.gloss > 0 && face.height() > 3 && face.width() > 3) {
            const QRectF area(face.left() + 1, face.top() + 1, face.width() - 2,
                std::max(1.0, face.height() * look.glossHeight));
            QLinearGradient g(area.topLeft(), area.bottomLeft());
            QColor top(255, 255, 255, qRound(255 * look.gloss * kGlossTop));
            QColor bottom(255, 255, 255, qRound(255 * look.gloss * kGlossBottom));
            g.setColorAt(0, top);
            g.setColorAt(1, bottom);
            p->save();
            p->setClipPath(facePath);
            p->fillPath(rounded(area, std::max<qreal>(0.0, innerRadius - 1)), g);
            p->restore();
        }
        const int highlight = std::min(look.highlightWidth, (std::min(face.width(), face.height()) - 1) / 2);
        if (visible(look.highlight) && highlight > 0) {
            QPainterPath hl = facePath;
            hl.addPath(rounded(QRectF(face.adjusted(highlight, highlight, -highlight, -highlight)),
                std::max<qreal>(0.0, innerRadius - highlight)));
            hl.setFillRule(Qt::OddEvenFill);
            p->fillPath(hl, look.highlight);
        }
    }
    p->restore();
}

void SkinPainter::text(
    QPainter *p, const QRect &rect, int flags, const QString &caption, const Look &look) const
{
    if (caption.isEmpty() || rect.isEmpty())
        return;
    p->save();
    const QRect r = rect.marginsRemoved(look.margin + look.padding).translated(look.textShift);
    if (visible(look.textShadow) && !look.textShadowOffset.isNull()) {
        p->setPen(look.textShadow);
        p->drawText(r.translated(look.textShadowOffset), flags, caption);
    }
    p->setPen(look.text.isValid() ? look.text : QColor(Qt::black));
    p->drawText(r, flags, caption);
    p->restore();
}

void SkinPainter::arrow(QPainter *p, const QRect &rect, Qt::ArrowType type, const QColor &colour) const
{
    if (!visible(colour) || rect.width() < 3 || rect.height() < 3)
        return;
    const bool vertical = type == Qt::DownArrow || type == Qt::UpArrow;
    const int across = vertical ? rect.width() : rect.height();
    const int base = across >= kArrowWidth + 4 ? kArrowWidth : kSmallArrowWidth;
    const int depth = (base + 1) / 2;
    const int cx = rect.left() + (rect.width() - 1) / 2;
    const int cy = rect.top() + (rect.height() - 1) / 2;
    for (int i = 0; i < depth; ++i) {
        const int half = depth - 1 - i; // widest row first for a down arrow
        switch (type) {
        case Qt::DownArrow:
            p->fillRect(cx - half, cy - depth / 2 + i, 2 * half + 1, 1, colour);
            break;
        case Qt::UpArrow:
            p->fillRect(cx - half, cy + (depth - 1) / 2 - i, 2 * half + 1, 1, colour);
            break;
        case Qt::RightArrow:
            p->fillRect(cx - depth / 2 + i, cy - half, 1, 2 * half + 1, colour);
            break;
        default:
            p->fillRect(cx + (depth - 1) / 2 - i, cy - half, 1, 2 * half + 1, colour);
            break;
        }
    }
}

void SkinPainter::checkMark(QPainter *p, const QRect &rect, const QColor &colour) const
{
    if (!visible(colour) || rect.isEmpty())
        return;
    const int scale = std::max(1, std::min(rect.width(), rect.height()) / (2 * kMarkSide));
    const int side = kMarkSide * scale;
    const int left = rect.left() + (rect.width() - side) / 2;
    const int top = rect.top() + (rect.height() - side) / 2;
    p->save();
    p->setClipRect(rect);
    for (int y = 0; y < kMarkSide; ++y) {
        for (int x = 0; x < kMarkSide; ++x) {
            if (kMark[static_cast<size_t>(y)][x] == '#')
                p->fillRect(left + x * scale, top + y * scale, scale, scale, colour);
        }
    }
    p->restore();
}

void SkinPainter::focusRect(QPainter *p, const QRect &rect, const QColor &colour, int rightSpan) const
{
    if (!visible(colour) || rect.width() < 2 || rect.height() < 2)
        return;
    // Dots step from the left corner up to the last few columns, which step back from the
    // right corner: the right end is then the same at every width and the rest repeats from
    // the left, so a kit's caps and tile meet the ring exactly. An odd width shows as a
    // wider gap at the seam.
    const int seam = rect.right() - std::max(kFocusRightSpan, rightSpan);
    for (int x = rect.left(); x <= rect.right(); ++x) {
        if ((x <= seam ? x - rect.left() : rect.right() - x) % 2 != 0)
            continue;
        p->fillRect(x, rect.top(), 1, 1, colour);
        p->fillRect(x, rect.bottom(), 1, 1, colour);
    }
    for (int y = rect.top() + 2; y < rect.bottom(); y += 2) {
        p->fillRect(rect.left(), y, 1, 1, colour);
        p->fillRect(rect.right(), y, 1, 1, colour);
    }
}

QSizeF SkinPainter::pictureSize(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxPictureBytes)
        return QSizeF();
    QSizeF size;
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        const QSvgRenderer renderer(path);
        if (renderer.isValid())
            size
                = renderer.viewBoxF().isEmpty() ? QSizeF(renderer.defaultSize()) : renderer.viewBoxF().size();
    } else {
        QImageReader reader(path);
        const QSize side = reader.size();
        if (side.width() <= kMaxPictureSide && side.height() <= kMaxPictureSide)
            size = reader.read().size();
    }
    if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
        return QSizeF();
    return size;
}

QString SkinPainter::cacheKey(const QString &path) const
{
    return m_accent.isValid() ? m_accent.name() + u'\n' + path : path;
}

QSvgRenderer *SkinPainter::svg(const QString &path) const
{
    const QString key = cacheKey(path);
    if (const auto it = m_svgs.constFind(key); it != m_svgs.constEnd())
        return it->get();
    std::shared_ptr<QSvgRenderer> renderer;
    if (const QFileInfo info(path); info.isFile() && info.size() <= kMaxPictureBytes) {
        if (m_accent.isValid()) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                renderer = std::make_shared<QSvgRenderer>(
                    accent::recolouredSvg(file.read(kMaxPictureBytes), m_accent));
        } else {
            renderer = std::make_shared<QSvgRenderer>(path);
        }
        if (renderer && !renderer->isValid())
            renderer.reset();
    }
    m_svgs.insert(key, renderer);
    return renderer.get();
}

QImage SkinPainter::raster(const QString &path) const
{
    const QString key = cacheKey(path);
    if (const auto it = m_rasters.constFind(key); it != m_rasters.constEnd())
        return *it;
    QImage image;
    if (const QFileInfo info(path); info.isFile() && info.size() <= kMaxPictureBytes) {
        QImageReader reader(path);
        const QSize size = reader.size();
        if (size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide)
            image = accent::recolouredImage(reader.read(), m_accent);
    }
    m_rasters.insert(key, image);
    return image;
}

void SkinPainter::shadow(QPainter *p, const QRect &whole, const QRect &body, const Look &look) const
{
    const qreal ratio = pixelRatio(p);
    QImage canvas((QSizeF(whole.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return;
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::transparent);
    {
        QPainter cp(&canvas);
        cp.setRenderHint(QPainter::Antialiasing);
        const int spread = look.shadowSpread;
        const qreal radius = std::min<qreal>(look.radius, std::min(body.width(), body.height()) / 2.0);
        const QRectF shape = QRectF(body.translated(look.shadowOffset - whole.topLeft()))
                                 .adjusted(-spread, -spread, spread, spread);
        cp.fillPath(rounded(shape, radius > 0 ? radius + spread : 0), look.shadow);
    }
    // Three box passes make a soft, nearly Gaussian edge that reaches shadowBlur pixels.
    const int blur = qRound(look.shadowBlur * ratio);
    for (int pass = 0; pass < 3; ++pass) {
        const int radius = blur / 3 + (blur % 3 > pass ? 1 : 0);
        boxBlur(canvas, radius, true);
        boxBlur(canvas, radius, false);
    }
    p->drawImage(whole.topLeft(), canvas);
}

bool SkinPainter::paintPicture(QPainter *p, const QRect &rect, const Look &look) const
{
    QSvgRenderer *renderer = nullptr;
    QImage picture;
    QSizeF source;
    if (look.image.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        renderer = svg(look.image);
        if (!renderer)
            return false;
        source = renderer->viewBoxF().size();
        if (source.isEmpty())
            source = renderer->defaultSize();
    } else {
        picture = raster(look.image);
        source = picture.size();
    }
    if (source.isEmpty() || source.width() > kMaxPictureSide || source.height() > kMaxPictureSide)
        return false;

    // Drawn at the device's pixel ratio, so vector pieces stay sharp on dense screens. With
    // slices that fit, the picture is drawn at its own width and only its rows follow the
    // height; the width is made up by repeating one column. A middle stretched as a vector
    // (or a smoothed raster) changed its every column with the width, so no two widths of a
    // face shared a middle, and a web page could not rebuild one from caps and a tile.
    const qreal ratio = pixelRatio(p);
    const QMargins &m = look.slice;
    const int caps = m.left() + m.right();
    const bool repeat = caps > 0 && caps <= rect.width() && source.width() > caps;
    const qreal stripWidth = repeat ? source.width() : rect.width();
    QImage canvas((QSizeF(stripWidth, rect.height()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return false;
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::transparent);
    {
        QPainter cp(&canvas);
        cp.setRenderHint(QPainter::Antialiasing);
        cp.setRenderHint(QPainter::SmoothPixmapTransform);
        const auto sx = spans(source.width(), m.left(), m.right());
        const auto sy = spans(source.height(), m.top(), m.bottom());
        const auto dx = spans(stripWidth, m.left(), m.right());
        const auto dy = spans(rect.height(), m.top(), m.bottom());
        const QRectF whole = renderer ? renderer->viewBoxF() : QRectF();
        for (size_t row = 0; row < 3; ++row) {
            for (size_t col = 0; col < 3; ++col) {
                const QRectF from(sx[col].first, sy[row].first, sx[col].second, sy[row].second);
                const QRectF to(dx[col].first, dy[row].first, dx[col].second, dy[row].second);
                if (from.width() <= 0 || from.height() <= 0 || to.width() <= 0 || to.height() <= 0)
                    continue;
                if (renderer) {
                    cp.save();
                    cp.setClipRect(to);
                    renderer->setViewBox(from.translated(whole.topLeft()));
                    renderer->render(&cp, to);
                    cp.restore();
                } else {
                    cp.drawImage(to, picture, from);
                }
            }
        }
        if (renderer)
            renderer->setViewBox(whole);
    }
    applyEffect(canvas, look.effect);
    if (repeat)
        canvas = widened(canvas, (QSizeF(rect.size()) * ratio).toSize().width(), qRound(m.left() * ratio),
            qRound(m.right() * ratio));
    p->drawImage(rect.topLeft(), canvas);
    return true;
}

} // namespace quillet::skin
