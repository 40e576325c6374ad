#include "skin/legibility.h"

#include "skin/accent.h"

#include <QHash>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>

namespace quillet::skin {

namespace {

constexpr int kHueBins = 72;

// Pixels sorted into hue bins; the peak and its neighbours give the hue.
class HueBins
{
public:
    void add(QRgb rgb)
    {
        ++m_pixels;
        auto it = m_seen.constFind(rgb);
        if (it == m_seen.constEnd())
            it = m_seen.insert(rgb, accent::toOklch(QColor::fromRgb(rgb)));
        if (it->C < accent::kNeutralChroma)
            return;
        const qreal radians = qDegreesToRadians(it->h);
        const size_t bin = size_t(it->h / (360.0 / kHueBins)) % kHueBins;
        ++m_counts[bin];
        m_sin[bin] += std::sin(radians);
        m_cos[bin] += std::cos(radians);
        ++m_chromatic;
    }

    HueMeasure result() const
    {
        HueMeasure m;
        m.pixels = m_pixels;
        m.chromaticPixels = m_chromatic;
        if (m_chromatic == 0)
            return m;
        const size_t peak = size_t(std::max_element(m_counts.begin(), m_counts.end()) - m_counts.begin());
        qreal s = 0, c = 0;
        for (const size_t bin : { peak + kHueBins - 1, peak, peak + 1 }) {
            s += m_sin[bin % kHueBins];
            c += m_cos[bin % kHueBins];
        }
        const qreal h = qRadiansToDegrees(std::atan2(s, c));
        m.hue = h < 0 ? h + 360 : h;
        return m;
    }

private:
    // Pictures hold few distinct colours: each is converted once.
    QHash<QRgb, accent::Oklch> m_seen;
    std::array<int, kHueBins> m_counts {};
    std::array<qreal, kHueBins> m_sin {};
    std::array<qreal, kHueBins> m_cos {};
    int m_pixels = 0;
    int m_chromatic = 0;
};

// A change of colour this large in OKLab (about five times the least the eye tells apart)
// is part of the indicator; a gradient that moved a level with a wider border is not.
constexpr double kVisibleChange = 0.05;

double okDistance(QRgb a, QRgb b)
{
    const accent::Oklab p = accent::toOklab(QColor::fromRgb(a));
    const accent::Oklab q = accent::toOklab(QColor::fromRgb(b));
    return std::sqrt((p.L - q.L) * (p.L - q.L) + (p.a - q.a) * (p.a - q.a) + (p.b - q.b) * (p.b - q.b));
}

bool nearColour(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= kGlyphTolerance
        && std::abs(qGreen(a) - qGreen(b)) <= kGlyphTolerance
        && std::abs(qBlue(a) - qBlue(b)) <= kGlyphTolerance;
}

} // namespace

qreal relativeLuminance(QRgb rgb)
{
    // Each channel's linear value, worked out once: pictures ask for millions of pixels.
    static const std::array<qreal, 256> kLinear = [] {
        std::array<qreal, 256> table {};
        for (int channel = 0; channel < 256; ++channel) {
            const qreal c = channel / 255.0;
            table[size_t(channel)] = c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return table;
    }();
    return 0.2126 * kLinear[size_t(qRed(rgb))] + 0.7152 * kLinear[size_t(qGreen(rgb))]
        + 0.0722 * kLinear[size_t(qBlue(rgb))];
}

qreal contrastRatio(QRgb a, QRgb b)
{
    const qreal la = relativeLuminance(a);
    const qreal lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QRgb medianByLuminance(QList<QRgb> pixels)
{
    if (pixels.isEmpty())
        return 0;
    const auto mid = pixels.begin() + (pixels.size() - 1) / 2;
    std::nth_element(pixels.begin(), mid, pixels.end(),
        [](QRgb a, QRgb b) { return relativeLuminance(a) < relativeLuminance(b); });
    return *mid;
}

QRect differingBox(const QImage &a, const QImage &b)
{
    QRect box;
    if (a.size() != b.size())
        return box;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

Legibility measureLegibility(const QImage &picture, const QImage &blankPicture, QRect box, QColor glyph)
{
    Legibility result;
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const bool hasBlank = !blankPicture.isNull() && blankPicture.size() == picture.size();
    const QImage blank = hasBlank ? blankPicture.convertToFormat(QImage::Format_RGB32) : QImage();
    if (box.isEmpty() && hasBlank)
        box = differingBox(image, blank).adjusted(-1, -1, 1, 1);
    box &= image.rect();
    result.box = box;
    if (box.isEmpty())
        return result;

    const auto differs = [&](int x, int y) { return !hasBlank || image.pixel(x, y) != blank.pixel(x, y); };
    if (!glyph.isValid()) {
        if (!hasBlank)
            return result;
        QList<QRgb> ground;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x)
                ground << blank.pixel(x, y);
        }
        const qreal groundLuminance = relativeLuminance(medianByLuminance(ground));
        qreal furthest = -1.0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                const qreal d = std::abs(relativeLuminance(image.pixel(x, y)) - groundLuminance);
                if (differs(x, y) && d > furthest) {
                    furthest = d;
                    glyph = QColor::fromRgb(image.pixel(x, y));
                }
            }
        }
        if (!glyph.isValid())
            return result;
    }

    QList<QRgb> glyphs;
    QList<QRgb> ground;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            const bool core = differs(x, y) && nearColour(p, glyph.rgb());
            if (core)
                glyphs << p;
            // A gradient or picture face can be darker right under the strokes than beside
            // them; the blank picture tells what lies there.
            if (hasBlank ? core : !core)
                ground << (hasBlank ? blank.pixel(x, y) : p);
        }
    }
    result.glyphPixels = int(glyphs.size());
    result.backgroundPixels = int(ground.size());
    if (glyphs.isEmpty() || ground.isEmpty())
        return result;
    result.glyph = QColor::fromRgb(medianByLuminance(glyphs));
    result.background = QColor::fromRgb(medianByLuminance(ground));
    result.medianContrast = contrastRatio(result.glyph.rgb(), result.background.rgb());

    struct Pair
    {
        qreal contrast;
        QRgb under;
    };
    QList<Pair> pairs;
    pairs.reserve(glyphs.size());
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const QRgb under = hasBlank ? ground[i] : result.background.rgb();
        pairs.append({ contrastRatio(glyphs[i], under), under });
    }
    // The weakest pixel of the strongest nine tenths: at least that share of the body reads
    // at its contrast or better.
    const auto at = pairs.begin() + pairs.size() * (10 - kLegibleTenths) / 10;
    std::nth_element(
        pairs.begin(), at, pairs.end(), [](const Pair &a, const Pair &b) { return a.contrast < b.contrast; });
    result.contrast = at->contrast;
    result.weakestBackground = QColor::fromRgb(at->under);
    return result;
}

int focusRingArea(QSize control, int inset)
{
    const int w = control.width() - 2 * inset;
    const int h = control.height() - 2 * inset;
    if (w <= 0 || h <= 0)
        return 0;
    if (w == 1 || h == 1)
        return w * h;
    return 2 * (w + h) - 4;
}

int focusAppearanceArea(QSize control, qreal ratio)
{
    return int(std::ceil(kFocusRingWidth * focusRingArea(control, 0) * ratio * ratio));
}

Legibility measureFocusIndicator(const QImage &focusedPicture, const QImage &unfocusedPicture, int area)
{
    Legibility result;
    if (focusedPicture.size() != unfocusedPicture.size() || area < 1)
        return result;
    const QImage focused = focusedPicture.convertToFormat(QImage::Format_RGB32);
    const QImage unfocused = unfocusedPicture.convertToFormat(QImage::Format_RGB32);
    struct Changed
    {
        qreal contrast;
        QPoint at;
    };
    QList<Changed> changed;
    for (int y = 0; y < focused.height(); ++y) {
        for (int x = 0; x < focused.width(); ++x) {
            const QRgb a = focused.pixel(x, y);
            const QRgb b = unfocused.pixel(x, y);
            if (a != b)
                changed.append({ contrastRatio(a, b), QPoint(x, y) });
        }
    }
    std::sort(changed.begin(), changed.end(),
        [](const Changed &l, const Changed &r) { return l.contrast > r.contrast; });
    for (const Changed &c : changed) {
        if (c.contrast < kFocusRingLegibility)
            break;
        ++result.glyphPixels;
        result.box |= QRect(c.at, QSize(1, 1));
    }
    result.backgroundPixels = area;
    if (changed.size() < area)
        return result;
    QList<QRgb> ring;
    QList<QRgb> under;
    for (qsizetype i = 0; i < area; ++i) {
        ring << focused.pixel(changed[i].at);
        under << unfocused.pixel(changed[i].at);
    }
    result.contrast = changed[area - 1].contrast;
    result.glyph = QColor::fromRgb(medianByLuminance(ring));
    result.background = QColor::fromRgb(medianByLuminance(under));
    return result;
}

HueMeasure dominantHue(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    HueBins bins;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            bins.add(row[x]);
    }
    return bins.result();
}

HueMeasure focusIndicatorHue(const QImage &focusedPicture, const QImage &unfocusedPicture)
{
    if (focusedPicture.size() != unfocusedPicture.size())
        return {};
    const QImage focused = focusedPicture.convertToFormat(QImage::Format_RGB32);
    const QImage unfocused = unfocusedPicture.convertToFormat(QImage::Format_RGB32);
    HueBins bins;
    for (int y = 0; y < focused.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(focused.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(unfocused.constScanLine(y));
        for (int x = 0; x < focused.width(); ++x) {
            if (a[x] != b[x] && okDistance(a[x], b[x]) >= kVisibleChange)
                bins.add(a[x]);
        }
    }
    return bins.result();
}

qreal hueDistance(qreal a, qreal b)
{
    const qreal d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

} // namespace quillet::skin
