#include "skin/accent.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillet::skin::accent {

namespace {

double toLinear(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double toGamma(double c)
{
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
}

struct Linear
{
    double r, g, b;
};

Linear linearOf(const Oklab &lab)
{
    const double l = std::pow(lab.L + 0.3963377774 * lab.a + 0.2158037573 * lab.b, 3);
    const double m = std::pow(lab.L - 0.1055613458 * lab.a - 0.0638541728 * lab.b, 3);
    const double s = std::pow(lab.L - 0.0894841775 * lab.a - 1.2914855480 * lab.b, 3);
    return { 4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
        -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
        -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s };
}

Oklab labOf(const Oklch &lch)
{
    const double h = lch.h * std::numbers::pi / 180.0;
    return { lch.L, lch.C * std::cos(h), lch.C * std::sin(h) };
}

// Half a level of 8-bit sRGB: what rounds into the cube counts as inside it.
constexpr double kGamutSlack = 0.5 / 255.0;

QColor recolourWith(const QColor &colour, const Oklch &target)
{
    if (!colour.isValid())
        return colour;
    const Oklch own = toOklch(colour);
    if (own.C < kNeutralChroma)
        return colour;
    return fromOklch({ own.L, target.C * std::min(1.0, own.C / kFullChroma), target.h }, colour.alphaF());
}

} // namespace

Oklab toOklab(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    const double r = toLinear(rgb.redF());
    const double g = toLinear(rgb.greenF());
    const double b = toLinear(rgb.blueF());
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return { 0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
        1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
        0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s };
}

Oklch toOklch(const Oklab &lab)
{
    double h = std::atan2(lab.b, lab.a) * 180.0 / std::numbers::pi;
    if (h < 0)
        h += 360.0;
    return { lab.L, std::hypot(lab.a, lab.b), h };
}

Oklch toOklch(const QColor &colour)
{
    return toOklch(toOklab(colour));
}

bool inGamut(const Oklab &lab)
{
    const Linear c = linearOf(lab);
    // Measured after the transfer curve: half a level there is far less than half a level
    // of linear light in the dark, where a channel cut to 0 would turn the hue.
    const auto inside = [](double v) {
        const double g = v < 0 ? -toGamma(-v) : toGamma(v);
        return g >= -kGamutSlack && g <= 1.0 + kGamutSlack;
    };
    return inside(c.r) && inside(c.g) && inside(c.b);
}

QColor fromOklch(const Oklch &lch, qreal alpha)
{
    Oklch fitted { std::clamp(lch.L, 0.0, 1.0), std::max(lch.C, 0.0), lch.h };
    if (!inGamut(labOf(fitted))) {
        // Bisect the chroma: the greys of every lightness are inside, so a fit exists.
        double inside = 0.0;
        double outside = fitted.C;
        for (int i = 0; i < 24; ++i) {
            const double mid = (inside + outside) / 2;
            (inGamut(labOf({ fitted.L, mid, fitted.h })) ? inside : outside) = mid;
        }
        fitted.C = inside;
    }
    const Linear c = linearOf(labOf(fitted));
    const auto channel = [](double v) { return std::clamp(toGamma(std::max(v, 0.0)), 0.0, 1.0); };
    QColor result = QColor::fromRgbF(float(channel(c.r)), float(channel(c.g)), float(channel(c.b)));
    // Through 8 bits so the colour compares equal to what a skin file or picture holds.
    result = QColor(result.rgb());
    result.setAlphaF(float(alpha));
    return result;
}

QColor parse(const QString &text, QString *problem)
{
    static const QRegularExpression kHex(QStringLiteral("\\A#([0-9a-fA-F]{3}|[0-9a-fA-F]{6})\\z"));
    if (text.isEmpty()) {
        *problem = QStringLiteral("is empty: give #rgb or #rrggbb");
        return {};
    }
    if (!kHex.match(text).hasMatch()) {
        *problem = QStringLiteral("is not a colour: give #rgb or #rrggbb");
        return {};
    }
    problem->clear();
    return QColor(text);
}

QColor recolour(const QColor &colour, const QColor &accent)
{
    if (!accent.isValid())
        return colour;
    const Oklch target = toOklch(accent);
    return recolourWith(colour, target.C < kNeutralChroma ? Oklch { 0, 0, 0 } : target);
}

QByteArray recolouredSvg(const QByteArray &svg, const QColor &accent)
{
    if (!accent.isValid())
        return svg;
    // The value of a colour property, as an attribute or inside a style: a hex literal,
    // rgb() or a name. References (url(#id)) and href="#id" are not colour properties.
    static const QRegularExpression kProperty(QStringLiteral(
        "(?<![\\w-])((?:fill|stroke|stop-color|flood-color|lighting-color|color)(?:\\s*=\\s*[\"']\\s*|\\s*:"
        "\\s*))"
        "(#[0-9a-fA-F]{6}(?![0-9a-zA-Z])|#[0-9a-fA-F]{3}(?![0-9a-zA-Z])"
        "|rgb\\(\\s*\\d{1,3}%?\\s*,\\s*\\d{1,3}%?\\s*,\\s*\\d{1,3}%?\\s*\\)|[a-zA-Z]+(?![\\w-]))"));
    static const QRegularExpression kRgb(QStringLiteral("(\\d{1,3})(%?)"));
    const QString text = QString::fromUtf8(svg);
    QString out;
    out.reserve(text.size());
    qsizetype done = 0;
    auto it = kProperty.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString value = m.captured(2);
        QColor colour;
        if (value.startsWith(u"rgb")) {
            int channels[3] = {};
            int i = 0;
            auto parts = kRgb.globalMatch(value);
            while (parts.hasNext() && i < 3) {
                const QRegularExpressionMatch part = parts.next();
                const int n = part.captured(1).toInt();
                channels[i++] = std::clamp(part.captured(2).isEmpty() ? n : n * 255 / 100, 0, 255);
            }
            colour = QColor(channels[0], channels[1], channels[2]);
        } else if (value.startsWith(u'#') || QColor::isValidColorName(value)) {
            colour = QColor::fromString(value);
        }
        if (!colour.isValid())
            continue;
        const QColor changed = recolour(colour, accent);
        if (changed.rgb() == colour.rgb())
            continue;
        out += QStringView(text).mid(done, m.capturedStart(2) - done);
        out += changed.name(QColor::HexRgb);
        done = m.capturedEnd(2);
    }
    if (done == 0)
        return svg;
    out += QStringView(text).mid(done);
    return out.toUtf8();
}

QImage recolouredImage(const QImage &image, const QColor &accent)
{
    if (!accent.isValid() || image.isNull())
        return image;
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    // Pictures hold few distinct colours (a face, its gradient steps): each is worked out once.
    QHash<QRgb, QRgb> done;
    for (int y = 0; y < out.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb opaque = row[x] | 0xff000000u;
            auto it = done.constFind(opaque);
            if (it == done.constEnd())
                it = done.insert(opaque, recolour(QColor::fromRgb(opaque), accent).rgb());
            row[x] = (*it & 0x00ffffffu) | (row[x] & 0xff000000u);
        }
    }
    return out;
}

Skin recoloured(const Skin &skin, const QColor &accent)
{
    if (!accent.isValid())
        return skin;
    Skin out = skin;
    for (int e = 0; e < kElementCount; ++e) {
        for (int s = 0; s < kStateCount; ++s) {
            // A disabled look is faded on purpose: it takes the accent's hue but keeps its own
            // (weaker) chroma, or a greyed caption would come back in the full brand colour.
            const bool faded = State(s) == State::Disabled || State(s) == State::CheckedDisabled;
            const auto change = [&](QColor &c) {
                const QColor full = recolour(c, accent);
                if (!faded || full == c)
                    c = full;
                else
                    c = fromOklch({ toOklch(c).L, std::min(toOklch(c).C, toOklch(full).C), toOklch(full).h },
                        c.alphaF());
            };
            Look look = skin.look(Element(e), State(s));
            for (GradientStop &stop : look.fill)
                change(stop.colour);
            // A chromatic caption is part of the brand too (outline skins set it in their
            // hue); white and black captions are neutral and stay.
            for (QColor *c : { &look.text, &look.border, &look.bevelLight, &look.bevelShadow, &look.bevelDark,
                     &look.highlight, &look.textShadow, &look.mark, &look.focus, &look.shadow })
                change(*c);
            out.setLook(Element(e), State(s), look);
        }
    }
    // The window's colour too: the looks' grounds are drawn on it, and a page takes it.
    out.setBase(recolour(skin.base(), accent));
    out.setAccent(accent);
    return out;
}

} // namespace quillet::skin::accent
