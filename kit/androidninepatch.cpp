#include "kit/androidninepatch.h"

#include "kit/kitpieces.h"

#include <QPainter>

#include <utility>

namespace quillet::kit::androidninepatch {

namespace {

constexpr QRgb kGuide = 0xff000000;
// Device pixels: a 1x dotted ring's period of 2 at 4x.
constexpr int kLongestDevicePeriod = 16;

bool sameOutline(const QImage &image, int a, int b)
{
    const auto *first = reinterpret_cast<const QRgb *>(image.constScanLine(a));
    const auto *second = reinterpret_cast<const QRgb *>(image.constScanLine(b));
    for (int x = 0; x < image.width(); ++x) {
        if (qAlpha(first[x]) != qAlpha(second[x]))
            return false;
    }
    return true;
}

// A guide's marked run [from, to) clamped to a side of `length` pixels, never empty.
std::pair<int, int> inside(int from, int to, int length)
{
    from = qBound(0, from, length - 1);
    to = qBound(from + 1, to, length);
    return { from, to };
}

} // namespace

Guides find(const QImage &source)
{
    const QImage picture = source.convertToFormat(QImage::Format_ARGB32);
    Guides guides;
    if (picture.isNull())
        return guides;
    // A dotted ring repeats after a few device pixels; a nine-patch can only stretch one
    // period of it, which Android widens rather than repeats.
    const int width = picture.width();
    const int middle = width / 2;
    // Where nothing repeats, the middle column stretches and the picture stays whole.
    guides.stretchFrom = middle;
    guides.resumeAt = middle + 1;
    // The period whose run is longest: a 2x ring's two-pixel dots also repeat column by
    // column, but only for two columns.
    int longest = 0;
    for (int period = 1; period <= kLongestDevicePeriod && middle + period < width; ++period) {
        const auto [first, end] = kitpieces::periodicRun(picture, period);
        const int last = end + 1;
        if (last - first < 2 * period || last - first <= longest)
            continue;
        longest = last - first;
        guides.stretchFrom = first;
        guides.period = period;
        // The right cap as drawn: where the run ends in a narrower button depends on its width.
        guides.resumeAt = last;
    }
    const int centre = picture.height() / 2;
    guides.stretchTop = centre;
    guides.stretchBottom = centre + 1;
    while (guides.stretchTop > 0 && sameOutline(picture, guides.stretchTop - 1, centre))
        --guides.stretchTop;
    while (guides.stretchBottom < picture.height() && sameOutline(picture, guides.stretchBottom, centre))
        ++guides.stretchBottom;
    return guides;
}

QImage make(const QImage &source, const QMargins &content)
{
    QImage picture = source.convertToFormat(QImage::Format_ARGB32);
    if (picture.isNull())
        return {};
    picture.setDevicePixelRatio(1);
    const Guides guides = find(picture);
    const int height = picture.height();
    const int leftPart = guides.stretchFrom + guides.period;
    const int rightPart = picture.width() - guides.resumeAt;
    const int width = leftPart + rightPart;

    QImage patch(width + 2, height + 2, QImage::Format_ARGB32);
    patch.fill(Qt::transparent);
    {
        QPainter painter(&patch);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(1, 1), picture, QRect(0, 0, leftPart, height));
        painter.drawImage(QPoint(1 + leftPart, 1), picture, QRect(guides.resumeAt, 0, rightPart, height));
    }
    for (int x = guides.stretchFrom; x < leftPart; ++x)
        patch.setPixel(1 + x, 0, kGuide);
    for (int y = guides.stretchTop; y < guides.stretchBottom; ++y)
        patch.setPixel(0, 1 + y, kGuide);
    const auto [left, right] = inside(content.left(), width - content.right(), width);
    for (int x = left; x < right; ++x)
        patch.setPixel(1 + x, height + 1, kGuide);
    const auto [top, bottom] = inside(content.top(), height - content.bottom(), height);
    for (int y = top; y < bottom; ++y)
        patch.setPixel(width + 1, 1 + y, kGuide);
    return patch;
}

} // namespace quillet::kit::androidninepatch
