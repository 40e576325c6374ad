#include "kit/kitpieces.h"

#include "image/alphapicture.h"
#include "model/metrics.h"
#include "pictures/captionfont.h"
#include "render/legibilitycheck.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <numeric>
#include <tuple>

namespace quillet::kit::kitpieces {

namespace {

using render::RenderRequest;
using render::SampleControl;

// A dotted ring repeats after a few pixels; a longer period would be a picture, not a tile.
constexpr int kLongestPeriod = 4;

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

// The blank buttons one slice is checked against, drawn once each.
class Probes
{
public:
    Probes(const KitDrawing &drawing, const QList<qreal> &ratios)
        : m_drawing(drawing)
        , m_ratios(ratios)
        , m_unit(unitOf(ratios))
    {
    }
    int unit() const { return m_unit; }
    const QImage &at(SampleState state, int width, qreal ratio)
    {
        const Key key { int(state), width, ratio };
        auto found = m_pictures.find(key);
        if (found == m_pictures.end())
            found = m_pictures.emplace(key, blankButton(m_drawing, state, width, ratio)).first;
        return found->second;
    }
    // The worst difference of the slice over every state and ratio at these widths.
    void measure(KitSlice &slice, const QList<int> &widths)
    {
        slice.worstDifference = 0;
        slice.stateDifference = {};
        for (qreal ratio : m_ratios) {
            for (const StateRow &row : kButtonRows) {
                if (!m_drawing.states.contains(row.state))
                    continue;
                const KitPieces pieces = cut(at(row.state, kSliceWidth, ratio), slice);
                for (int width : widths) {
                    // The renderer draws no half pixels: at 1.5x only even widths are defined.
                    if (!whole(width, ratio))
                        continue;
                    int d = difference(compose(pieces, width), at(row.state, width, ratio));
                    if (d < 0)
                        d = 255;
                    int &ofState = slice.stateDifference[size_t(row.cascade)];
                    ofState = qMax(ofState, d);
                    if (d > slice.worstDifference) {
                        slice.worstDifference = d;
                        slice.worstWidth = width;
                        slice.worstRatio = ratio;
                    }
                }
            }
        }
        slice.exact = slice.worstDifference == 0;
    }

private:
    using Key = std::tuple<int, int, qreal>;
    const KitDrawing &m_drawing;
    QList<qreal> m_ratios;
    int m_unit = 1;
    std::map<Key, QImage> m_pictures;
};

QList<int> probeWidths(const KitSlice &slice)
{
    QList<int> widths;
    for (int width : kProbeWidths) {
        if (width >= slice.minWidth)
            widths.append(width);
    }
    return widths;
}

// The middle tile is the period whose run around the centre is longest in the state and
// ratio where it is shortest, as many periods as make it whole units; what lies beside the
// run is cap, rounded out to whole units. False when a probe cannot be drawn.
bool findTile(const KitDrawing &drawing, const QList<qreal> &ratios, Probes &probes, KitSlice &result)
{
    const int unit = probes.unit();
    int longest = -1;
    for (int period = 1; period <= kLongestPeriod; ++period) {
        const int tile = std::lcm(period, unit);
        int shortest = kSliceWidth;
        int left = 0;
        int right = 0;
        for (qreal ratio : ratios) {
            for (SampleState state : drawing.states) {
                const QImage &picture = probes.at(state, kSliceWidth, ratio);
                if (picture.isNull())
                    return false;
                const auto [first, last] = periodicRun(picture, qRound(tile * ratio));
                shortest = qMin(shortest, int((last - first + 1) / ratio));
                left = qMax(left, int(std::ceil(first / ratio)));
                right = qMax(right, int(std::ceil((picture.width() - 1 - last) / ratio)));
            }
        }
        // A longer period has to earn its place: a run twice as long.
        if (longest < 0 || shortest > 2 * longest) {
            longest = shortest;
            result.middle = tile;
            result.left = roundUp(left, unit);
            result.right = roundUp(right, unit);
        }
    }
    return true;
}

// The caps widened step by step while the narrowest probe still fits them, the closest
// to the renderer kept.
KitSlice closestWiderCaps(const KitSlice &first, Probes &probes)
{
    KitSlice result = first;
    const int narrowest = kProbeWidths[0];
    const int unit = probes.unit();
    for (int extra = unit; first.left + first.right + 2 * extra + first.middle <= narrowest; extra += unit) {
        KitSlice wider = first;
        wider.left += extra;
        wider.right += extra;
        wider.minWidth = wider.left + wider.right + wider.middle;
        probes.measure(wider, probeWidths(wider));
        if (wider.worstDifference < result.worstDifference)
            result = wider;
    }
    return result;
}

// Below some width the corners or the ring no longer fit: the narrowest width from which
// the slice holds (up to the narrowest probe) is the style sheet's min-width, and there the
// focused button must still show a two-pixel ring.
int narrowestHolding(const KitSlice &slice, const KitDrawing &drawing, Probes &probes)
{
    const int narrowest = kProbeWidths[0];
    int minWidth = slice.minWidth;
    for (int width = slice.minWidth; width < narrowest; ++width) {
        KitSlice trial = slice;
        probes.measure(trial, { width });
        if (trial.worstDifference <= slice.worstDifference)
            break;
        minWidth = width + 1;
    }
    if (drawing.states.contains(SampleState::Focused)) {
        const auto ringHolds = [&](int width) {
            return std::all_of(skin::kFocusRatios.begin(), skin::kFocusRatios.end(), [&](qreal ratio) {
                return render::legibility::focusProbe(
                    drawing.renderer->skin(), QSize(width, drawing.height), ratio)
                    .passes();
            });
        };
        while (minWidth < narrowest && !ringHolds(minWidth))
            ++minWidth;
    }
    return minWidth;
}

} // namespace

int unitOf(const QList<qreal> &ratios)
{
    // Every ratio a kit is drawn at is a whole number of quarters at most.
    for (int unit = 1; unit < 4; ++unit) {
        if (std::all_of(ratios.begin(), ratios.end(), [&](qreal ratio) { return whole(unit, ratio); }))
            return unit;
    }
    return 4;
}

bool whole(int length, qreal ratio)
{
    return std::fmod(length * ratio, 1.0) == 0.0;
}

KitPieces backed(const KitPieces &pieces)
{
    if (pieces.left.isNull() || pieces.middle.isNull() || pieces.right.isNull())
        return {};
    const qreal ratio = pieces.middle.devicePixelRatio();
    const int reach = qRound(kBacking * ratio);
    const int height = pieces.middle.height();
    const auto widened = [&](const QImage &cap, bool left) {
        QImage out(cap.width() + reach, height, QImage::Format_ARGB32_Premultiplied);
        out.setDevicePixelRatio(ratio);
        const int capAt = left ? 0 : reach;
        const int inner = left ? cap.width() - 1 : 0;
        for (int y = 0; y < height; ++y) {
            const auto *c = reinterpret_cast<const QRgb *>(cap.constScanLine(y));
            const auto *m = reinterpret_cast<const QRgb *>(pieces.middle.constScanLine(y));
            auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
            bool opaque = qAlpha(c[inner]) == 255;
            for (int x = 0; x < pieces.middle.width() && opaque; ++x)
                opaque = qAlpha(m[x]) == 255;
            std::memcpy(row + capAt, c, size_t(cap.width()) * sizeof(QRgb));
            for (int x = 0; x < reach; ++x)
                row[left ? cap.width() + x : x] = opaque ? c[inner] : 0;
        }
        return out;
    };
    return { widened(pieces.left, true), pieces.middle, widened(pieces.right, false) };
}

std::pair<int, int> periodicRun(const QImage &picture, int step)
{
    const int centre = picture.width() / 2;
    int first = centre;
    while (first - step >= 0 && sameColumn(picture, first - 1, first - 1 + step))
        --first;
    int last = centre + step - 1;
    while (last + 1 < picture.width() && sameColumn(picture, last + 1, last + 1 - step))
        ++last;
    return { first, qMin(last, picture.width() - 1) };
}

QImage blankButton(const KitDrawing &drawing, SampleState state, int width, qreal ratio)
{
    RenderRequest request;
    request.control = SampleControl::PushButton;
    request.state = state;
    request.size = QSize(width, drawing.height);
    request.caption = QStringLiteral(" ");
    request.font = pictures::CaptionFont::forRatio(drawing.font, ratio);
    request.devicePixelRatio = ratio;
    return seeThrough(*drawing.renderer, request);
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

QImage dropButton(const render::ButtonRenderer &renderer, SampleState state, qreal ratio)
{
    RenderRequest request;
    request.control = SampleControl::DropButton;
    request.state = state;
    request.size = QSize(model::Metrics::kDropWidth, model::Metrics::kDropHeight);
    request.comboHeight = model::Metrics::kComboHeight;
    // The combo keeps the designer's own font, as in the batch's pictures.
    request.font = QApplication::font();
    request.devicePixelRatio = ratio;
    return seeThrough(renderer, request);
}

KitSlice slice(const KitDrawing &drawing, const QList<qreal> &ratios)
{
    KitSlice result;
    Probes probes(drawing, ratios);
    const int unit = probes.unit();
    if (!findTile(drawing, ratios, probes, result))
        return result;
    // A cap of at least one pixel, so every piece is a picture a browser can load.
    result.left = qMax(unit, result.left);
    result.right = qMax(unit, result.right);
    // Caps wider than the narrowest probe (a tall pill) raise the style sheet's min-width
    // rather than shrink: a narrower button cannot be built from them.
    result.left = qMin(result.left, (kSliceWidth - result.middle) / 2 / unit * unit);
    result.right = qMin(result.right, (kSliceWidth - result.middle - result.left) / unit * unit);
    result.minWidth = result.left + result.right + result.middle;
    probes.measure(result, probeWidths(result));
    // A face that changes along its width has no true caps: wider ones may come closer.
    if (!result.exact)
        result = closestWiderCaps(result, probes);
    result.minWidth = narrowestHolding(result, drawing, probes);
    // A few widths above it too, so a step of the pattern at odd widths shows.
    QList<int> widths = probeWidths(result);
    for (int width = result.minWidth; width < result.minWidth + 2 * result.middle + 2; ++width)
        widths.append(width);
    probes.measure(result, widths);
    return result;
}

KitPieces cut(const QImage &picture, const KitSlice &slice)
{
    const qreal ratio = picture.devicePixelRatio();
    const int left = qRound(slice.left * ratio);
    const int right = qRound(slice.right * ratio);
    const int middle = qRound(slice.middle * ratio);
    if (picture.isNull() || left + right + middle > picture.width())
        return {};
    return { columns(picture, 0, left), columns(picture, left, middle),
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
        for (int x = left; x < total - right; ++x)
            row[x] = m[(x - left) % step];
        // The caps lie over the middle, as the first background layers do.
        if (left > 0)
            std::memcpy(row, l, size_t(left) * sizeof(QRgb));
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
    // Premultiplied, a pixel on black is its colour and on white its colour plus the
    // white that shows through; any other opaque page lies between the two.
    const auto onWhite = [](int channel, QRgb p) { return channel + 255 - qAlpha(p); };
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const QRgb s = p[col];
            const QRgb t = q[col];
            if (s == t)
                continue;
            const int sc[] = { qRed(s), qGreen(s), qBlue(s) };
            const int tc[] = { qRed(t), qGreen(t), qBlue(t) };
            for (int c = 0; c < 3; ++c) {
                worst = qMax(worst, qAbs(sc[c] - tc[c]));
                worst = qMax(worst, qAbs(onWhite(sc[c], s) - onWhite(tc[c], t)));
            }
        }
    }
    return worst;
}

} // namespace quillet::kit::kitpieces
