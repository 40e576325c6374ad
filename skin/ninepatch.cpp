#include "skin/ninepatch.h"

#include <QBuffer>
#include <QImageReader>
#include <QList>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstring>

#include <utility>

namespace quillet::skin::ninepatch {

namespace {

constexpr QByteArrayView kPngSignature("\x89PNG\r\n\x1a\n", 8);

using Run = std::pair<int, int>; // [first, end) in picture coordinates

enum class Edge { Top, Bottom, Left, Right };

const char *edgeName(Edge edge)
{
    switch (edge) {
    case Edge::Top:
        return "top";
    case Edge::Bottom:
        return "bottom";
    case Edge::Left:
        return "left";
    default:
        return "right";
    }
}

// The black runs of one guide edge; false with error when a pixel is neither black nor
// fully transparent. Reads the ring only.
bool guideRuns(const QImage &image, Edge edge, QList<Run> &runs, QString *error)
{
    const bool across = edge == Edge::Top || edge == Edge::Bottom;
    const int length = across ? image.width() - 2 : image.height() - 2;
    const int fixed = edge == Edge::Top || edge == Edge::Left ? 0
        : across                                              ? image.height() - 1
                                                              : image.width() - 1;
    const auto *row = across ? reinterpret_cast<const QRgb *>(image.constScanLine(fixed)) : nullptr;
    int start = -1;
    for (int i = 0; i <= length; ++i) {
        bool black = false;
        if (i < length) {
            const QRgb p
                = across ? row[i + 1] : reinterpret_cast<const QRgb *>(image.constScanLine(i + 1))[fixed];
            black = p == qRgba(0, 0, 0, 255);
            if (!black && qAlpha(p) != 0) {
                if (error)
                    *error
                        = QStringLiteral("guide pixel %1,%2 on the %3 edge is neither black nor transparent")
                              .arg(across ? i + 1 : fixed)
                              .arg(across ? fixed : i + 1)
                              .arg(QLatin1String(edgeName(edge)));
                return false;
            }
        }
        if (black && start < 0)
            start = i;
        if (!black && start >= 0) {
            runs.append({ start, i });
            start = -1;
        }
    }
    return true;
}

// Whether every column (or row) of the picture in [first, end) is the same. Only asked
// when a side has several stretch runs; it stops at the first difference.
bool uniform(const QImage &picture, bool columns, int first, int end)
{
    if (columns) {
        for (int y = 0; y < picture.height(); ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
            if (std::any_of(row + first + 1, row + end, [&](QRgb p) { return p != row[first]; }))
                return false;
        }
        return true;
    }
    const size_t bytes = size_t(picture.width()) * sizeof(QRgb);
    for (int y = first + 1; y < end; ++y) {
        if (std::memcmp(picture.constScanLine(y), picture.constScanLine(first), bytes) != 0)
            return false;
    }
    return true;
}

// The size in the PNG header (the IHDR chunk, which comes first), read from its bytes
// before any decoder sees the file; invalid without one.
QSize headerSize(const QByteArray &bytes)
{
    constexpr qsizetype kWidthAt = 16;
    constexpr qsizetype kHeightAt = 20;
    if (bytes.size() < kHeightAt + 4 || QByteArrayView(bytes).sliced(12, 4) != "IHDR")
        return {};
    const quint32 width = qFromBigEndian<quint32>(bytes.constData() + kWidthAt);
    const quint32 height = qFromBigEndian<quint32>(bytes.constData() + kHeightAt);
    if (width == 0 || height == 0 || width > quint32(INT_MAX) || height > quint32(INT_MAX))
        return {};
    return QSize(int(width), int(height));
}

// The picture inside the guide ring, sharing the decoded pixels: a copy would cost as much
// again as the decoding, in time and memory. The view keeps the whole picture alive and
// copies itself before any change.
QImage inside(const QImage &ring)
{
    auto *owner = new QImage(ring);
    const uchar *first = owner->constScanLine(1) + sizeof(QRgb);
    return QImage(
        first, owner->width() - 2, owner->height() - 2, owner->bytesPerLine(), QImage::Format_ARGB32,
        [](void *held) { delete static_cast<QImage *>(held); }, owner);
}

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// The one run of a stretch edge as fixed margins before and after it.
bool stretchMargins(const QImage &picture, Edge edge, const QList<Run> &runs, int length, int &before,
    int &after, QString *error)
{
    if (runs.isEmpty())
        return fail(
            error, QStringLiteral("no stretch guide on the %1 edge").arg(QLatin1String(edgeName(edge))));
    const Run whole { runs.first().first, runs.last().second };
    if (runs.size() > 1 && !uniform(picture, edge == Edge::Top, whole.first, whole.second))
        return fail(error,
            QStringLiteral("%1 stretch runs on the %2 edge with different pixels between them: the skin "
                           "engine stretches one run per side")
                .arg(runs.size())
                .arg(QLatin1String(edgeName(edge))));
    before = whole.first;
    after = length - whole.second;
    return true;
}

bool paddingMargins(Edge edge, const QList<Run> &runs, int length, int &before, int &after, QString *error)
{
    if (runs.isEmpty())
        return true; // the content box is then the stretched area, as given already
    if (runs.size() > 1)
        return fail(error,
            QStringLiteral("%1 content runs on the %2 edge; the content box takes one")
                .arg(runs.size())
                .arg(QLatin1String(edgeName(edge))));
    before = runs.first().first;
    after = length - runs.first().second;
    return true;
}

} // namespace

std::optional<NinePatch> read(const QByteArray &bytes, QString *error)
{
    if (!bytes.startsWith(kPngSignature)) {
        fail(error, QStringLiteral("not a PNG file"));
        return std::nullopt;
    }
    // The header's size first: a picture too large is refused before it costs its area.
    const QSize size = headerSize(bytes);
    if (!size.isValid()) {
        fail(error, QStringLiteral("the PNG file cannot be decoded"));
        return std::nullopt;
    }
    if (size.width() < 3 || size.height() < 3) {
        fail(error,
            QStringLiteral("%1 x %2 pixels is too small for a picture inside its guide ring")
                .arg(size.width())
                .arg(size.height()));
        return std::nullopt;
    }
    if (size.width() - 2 > kMaxSide || size.height() - 2 > kMaxSide) {
        fail(error, QStringLiteral("larger than %1 pixels").arg(kMaxSide));
        return std::nullopt;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "PNG");
    QImage image;
    if (!reader.read(&image) || image.size() != size) {
        fail(error, QStringLiteral("the PNG file cannot be decoded"));
        return std::nullopt;
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    QList<Run> top, bottom, left, right;
    if (!guideRuns(image, Edge::Top, top, error) || !guideRuns(image, Edge::Bottom, bottom, error)
        || !guideRuns(image, Edge::Left, left, error) || !guideRuns(image, Edge::Right, right, error))
        return std::nullopt;

    NinePatch patch;
    patch.picture = inside(image);
    const int w = patch.picture.width();
    const int h = patch.picture.height();
    int l = 0, t = 0, r = 0, b = 0;
    if (!stretchMargins(patch.picture, Edge::Top, top, w, l, r, error)
        || !stretchMargins(patch.picture, Edge::Left, left, h, t, b, error))
        return std::nullopt;
    patch.slice = QMargins(l, t, r, b);
    if (!paddingMargins(Edge::Bottom, bottom, w, l, r, error)
        || !paddingMargins(Edge::Right, right, h, t, b, error))
        return std::nullopt;
    patch.padding = QMargins(l, t, r, b);
    return patch;
}

} // namespace quillet::skin::ninepatch
