#include "pictures/kitpieces.h"

#include "model/metrics.h"
#include "platform/image/alphapicture.h"

#include <cstring>

namespace quillet::pictures::kitpieces {

namespace {

using render::RenderRequest;
using render::SampleControl;
using render::SampleState;

// Wide enough that every skin's caps leave a long middle run to find.
constexpr int kSliceWidth = 160;

QImage seeThrough(const render::ButtonRenderer &renderer, RenderRequest request)
{
    request.background = Qt::black;
    const QImage onBlack = renderer.render(request);
    request.background = Qt::white;
    const QImage onWhite = renderer.render(request);
    if (onBlack.isNull() || onWhite.isNull())
        return {};
    return image::AlphaPicture::fromGrounds(onBlack, onWhite)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

bool sameColumn(const QImage &image, int a, int b)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        if (row[a] != row[b])
            return false;
    }
    return true;
}

QImage columns(const QImage &picture, int from, int count)
{
    QImage piece = picture.copy(from, 0, count, picture.height());
    piece.setDevicePixelRatio(picture.devicePixelRatio());
    return piece;
}

} // namespace

QImage blankButton(
    const render::ButtonRenderer &renderer, SampleState state, int width, int height, qreal ratio)
{
    RenderRequest request;
    request.control = SampleControl::PushButton;
    request.state = state;
    request.size = QSize(width, height);
    request.caption = QStringLiteral(" ");
    request.devicePixelRatio = ratio;
    return seeThrough(renderer, request);
}

QImage checkBox(const render::ButtonRenderer &renderer, SampleState state, qreal ratio)
{
    RenderRequest request;
    request.control = SampleControl::CheckBox;
    request.state = state;
    request.size = QSize(model::Metrics::kCheckSide, model::Metrics::kCheckSide);
    request.devicePixelRatio = ratio;
    return seeThrough(renderer, request);
}

KitSlice slice(const render::ButtonRenderer &renderer, int height, const QList<qreal> &ratios)
{
    KitSlice result;
    // The middle run is the widest stretch of equal columns around the centre; what lies
    // beside it is cap, rounded out to whole logical pixels.
    for (qreal ratio : ratios) {
        for (SampleState state : kStates) {
            const QImage picture = blankButton(renderer, state, kSliceWidth, height, ratio);
            if (picture.isNull())
                return result;
            const int centre = picture.width() / 2;
            int first = centre;
            while (first > 0 && sameColumn(picture, first - 1, centre))
                --first;
            int last = centre;
            while (last + 1 < picture.width() && sameColumn(picture, last + 1, centre))
                ++last;
            const int right = picture.width() - 1 - last;
            result.left = qMax(result.left, int(std::ceil(first / ratio)));
            result.right = qMax(result.right, int(std::ceil(right / ratio)));
        }
    }
    // A cap of at least one pixel, so every piece is a picture a browser can load, and no
    // wider than the button is high: a face that changes all along its width has no true
    // caps, and the verification below says how far the pieces are from it.
    result.left = qBound(1, result.left, height);
    result.right = qBound(1, result.right, height);
    QList<int> widths { result.left + result.right + 1 };
    for (int width : kProbeWidths) {
        if (width > result.left + result.right)
            widths.append(width);
    }
    result.exact = true;
    for (qreal ratio : ratios) {
        for (SampleState state : kStates) {
            const KitPieces pieces = cut(blankButton(renderer, state, kSliceWidth, height, ratio), result);
            for (int width : std::as_const(widths)) {
                const int d
                    = difference(compose(pieces, width), blankButton(renderer, state, width, height, ratio));
                if (d != 0)
                    result.exact = false;
                if (d < 0 || d > result.worstDifference) {
                    result.worstDifference = d < 0 ? 255 : d;
                    result.worstWidth = width;
                    result.worstRatio = ratio;
                }
            }
        }
    }
    return result;
}

KitPieces cut(const QImage &picture, const KitSlice &slice)
{
    const qreal ratio = picture.devicePixelRatio();
    const int left = qRound(slice.left * ratio);
    const int right = qRound(slice.right * ratio);
    const int one = qRound(ratio);
    if (picture.isNull() || left + right + one > picture.width())
        return {};
    return { columns(picture, 0, left), columns(picture, left, one),
        columns(picture, picture.width() - right, right) };
}

QImage compose(const KitPieces &pieces, int width)
{
    const qreal ratio = pieces.middle.devicePixelRatio();
    const int total = qRound(width * ratio);
    const int left = pieces.left.width();
    const int right = pieces.right.width();
    if (pieces.middle.isNull() || total < left + right)
        return {};
    QImage picture(total, pieces.middle.height(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    const int step = pieces.middle.width();
    for (int y = 0; y < picture.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        const auto *l = reinterpret_cast<const QRgb *>(pieces.left.constScanLine(y));
        const auto *m = reinterpret_cast<const QRgb *>(pieces.middle.constScanLine(y));
        const auto *r = reinterpret_cast<const QRgb *>(pieces.right.constScanLine(y));
        if (left > 0)
            std::memcpy(row, l, size_t(left) * sizeof(QRgb));
        for (int x = left; x < total - right; ++x)
            row[x] = m[(x - left) % step];
        if (right > 0)
            std::memcpy(row + total - right, r, size_t(right) * sizeof(QRgb));
    }
    return picture;
}

int difference(const QImage &a, const QImage &b)
{
    if (a.isNull() || a.size() != b.size())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            worst = qMax(worst, qAbs(qAlpha(p[col]) - qAlpha(q[col])));
            worst = qMax(worst, qAbs(qRed(p[col]) - qRed(q[col])));
            worst = qMax(worst, qAbs(qGreen(p[col]) - qGreen(q[col])));
            worst = qMax(worst, qAbs(qBlue(p[col]) - qBlue(q[col])));
        }
    }
    return worst;
}

} // namespace quillet::pictures::kitpieces
