#include "skin/ninepatch.h"

#include <QList>

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
// fully transparent.
bool guideRuns(const QImage &image, Edge edge, QList<Run> &runs, QString *error)
{
    const bool across = edge == Edge::Top || edge == Edge::Bottom;
    const int length = across ? image.width() - 2 : image.height() - 2;
    int start = -1;
    for (int i = 0; i <= length; ++i) {
        bool black = false;
        if (i < length) {
            const int x = across ? i + 1 : (edge == Edge::Left ? 0 : image.width() - 1);
            const int y = across ? (edge == Edge::Top ? 0 : image.height() - 1) : i + 1;
            const QRgb p = image.pixel(x, y);
            black = p == qRgba(0, 0, 0, 255);
            if (!black && qAlpha(p) != 0) {
                if (error)
                    *error
                        = QStringLiteral("guide pixel %1,%2 on the %3 edge is neither black nor transparent")
                              .arg(x)
                              .arg(y)
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

// Whether every column (or row) of the picture in [first, end) is the same.
bool uniform(const QImage &picture, bool columns, int first, int end)
{
    const int across = columns ? picture.height() : picture.width();
    for (int i = first + 1; i < end; ++i) {
        for (int j = 0; j < across; ++j) {
            const QRgb a = columns ? picture.pixel(first, j) : picture.pixel(j, first);
            const QRgb b = columns ? picture.pixel(i, j) : picture.pixel(j, i);
            if (a != b)
                return false;
        }
    }
    return true;
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
    QImage image;
    if (!image.loadFromData(bytes, "PNG")) {
        fail(error, QStringLiteral("the PNG file cannot be decoded"));
        return std::nullopt;
    }
    if (image.width() < 3 || image.height() < 3) {
        fail(error,
            QStringLiteral("%1 x %2 pixels is too small for a picture inside its guide ring")
                .arg(image.width())
                .arg(image.height()));
        return std::nullopt;
    }
    if (image.width() - 2 > kMaxSide || image.height() - 2 > kMaxSide) {
        fail(error, QStringLiteral("larger than %1 pixels").arg(kMaxSide));
        return std::nullopt;
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    QList<Run> top, bottom, left, right;
    if (!guideRuns(image, Edge::Top, top, error) || !guideRuns(image, Edge::Bottom, bottom, error)
        || !guideRuns(image, Edge::Left, left, error) || !guideRuns(image, Edge::Right, right, error))
        return std::nullopt;

    NinePatch patch;
    patch.picture = image.copy(1, 1, image.width() - 2, image.height() - 2);
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
