#include "skin/skinkeys.h"

#include "skin/skin.h"

#include <algorithm>
#include <array>
#include <vector>

namespace quillet::skin {

namespace {

constexpr int kMaxBorderWidth = 16;
constexpr int kMaxRadius = 64;
constexpr int kMaxBevelWidth = 4;
constexpr int kMaxOffset = 8;
constexpr int kMaxSlice = 1024;
constexpr int kMaxMargin = 16;
constexpr int kMaxPadding = 256;
constexpr int kMaxShadowBlur = 16;
constexpr int kMaxShadowSpread = 8;
constexpr int kMaxHighlightWidth = 8;

const std::array<KeySpec, 3> kGeneralKeys { {
    { "name", ValueKind::Text, 0, 0, {} },
    { "base", ValueKind::OpaqueColour, 0, 0, {} },
    { "text", ValueKind::Colour, 0, 0, {} },
} };

const std::array<KeySpec, 28> kLookKeys { {
    { "fill", ValueKind::Fill, 0, 0, &Look::fill },
    { "fill-direction", ValueKind::Direction, 0, 0, &Look::horizontalFill },
    { "border", ValueKind::Colour, 0, 0, &Look::border },
    { "border-width", ValueKind::Integer, 0, kMaxBorderWidth, &Look::borderWidth },
    { "radius", ValueKind::Radius, 0, kMaxRadius, &Look::radius },
    { "margin", ValueKind::Margins, 0, kMaxMargin, &Look::margin },
    { "padding", ValueKind::Margins, 0, kMaxPadding, &Look::padding },
    { "shadow", ValueKind::Colour, 0, 0, &Look::shadow },
    { "shadow-offset", ValueKind::Point, -kMaxOffset, kMaxOffset, &Look::shadowOffset },
    { "shadow-blur", ValueKind::Integer, 0, kMaxShadowBlur, &Look::shadowBlur },
    { "shadow-spread", ValueKind::Integer, 0, kMaxShadowSpread, &Look::shadowSpread },
    { "bevel", ValueKind::BevelStyle, 0, 0, &Look::bevel },
    { "bevel-width", ValueKind::Integer, 1, kMaxBevelWidth, &Look::bevelWidth },
    { "bevel-light", ValueKind::Colour, 0, 0, &Look::bevelLight },
    { "bevel-shadow", ValueKind::Colour, 0, 0, &Look::bevelShadow },
    { "bevel-dark", ValueKind::Colour, 0, 0, &Look::bevelDark },
    { "highlight", ValueKind::Colour, 0, 0, &Look::highlight },
    { "highlight-width", ValueKind::Integer, 1, kMaxHighlightWidth, &Look::highlightWidth },
    { "gloss", ValueKind::Real, 0, 1, &Look::gloss },
    { "gloss-height", ValueKind::Real, 0, 1, &Look::glossHeight },
    { "text", ValueKind::Colour, 0, 0, &Look::text },
    { "text-shadow", ValueKind::Colour, 0, 0, &Look::textShadow },
    { "text-shadow-offset", ValueKind::Point, -kMaxOffset, kMaxOffset, &Look::textShadowOffset },
    { "text-shift", ValueKind::Point, -kMaxOffset, kMaxOffset, &Look::textShift },
    { "mark", ValueKind::Colour, 0, 0, &Look::mark },
    { "focus", ValueKind::Colour, 0, 0, &Look::focus },
    { "image", ValueKind::Picture, 0, 0, &Look::image },
    { "slice", ValueKind::Margins, 0, kMaxSlice, &Look::slice },
} };

// No known name is this long, and a word this much longer than all of them is no typo of
// one; comparing only a capped prefix keeps hostile names from costing more.
constexpr qsizetype kMaxCompared = 64;

// The edit distance of a and b (both lower case), or limit + 1 once it must exceed limit:
// only cells within limit of the diagonal can hold a smaller distance, and a row whose
// cells all exceed the limit ends the search.
int editDistance(QStringView a, QStringView b, int limit)
{
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    if (std::abs(n - m) > limit)
        return limit + 1;
    const int beyond = limit + 1;
    std::vector<int> row(size_t(m) + 1, beyond);
    for (qsizetype j = 0; j <= std::min<qsizetype>(m, limit); ++j)
        row[size_t(j)] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        const qsizetype from = std::max<qsizetype>(1, i - limit);
        const qsizetype to = std::min<qsizetype>(m, i + limit);
        int diagonal = row[size_t(from - 1)];
        row[size_t(from - 1)] = from == 1 && i <= limit ? int(i) : beyond;
        int best = row[size_t(from - 1)];
        for (qsizetype j = from; j <= to; ++j) {
            const int above = row[size_t(j)];
            const int cell
                = std::min({ above + 1, row[size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1) });
            row[size_t(j)] = std::min(cell, beyond);
            best = std::min(best, row[size_t(j)]);
            diagonal = above;
        }
        if (to < m)
            row[size_t(to + 1)] = beyond;
        if (best > limit)
            return beyond;
    }
    return row[size_t(m)];
}

} // namespace

std::span<const KeySpec> generalKeys()
{
    return kGeneralKeys;
}

std::span<const KeySpec> lookKeys()
{
    return kLookKeys;
}

const KeySpec *findKey(std::span<const KeySpec> keys, QStringView name)
{
    const auto it = std::find_if(keys.begin(), keys.end(), [name](const KeySpec &k) {
        return name.compare(QLatin1StringView(k.name), Qt::CaseInsensitive) == 0;
    });
    return it == keys.end() ? nullptr : &*it;
}

QStringList keyNames(std::span<const KeySpec> keys)
{
    QStringList names;
    for (const KeySpec &k : keys)
        names << QString::fromLatin1(k.name);
    return names;
}

QStringList knownSections()
{
    QStringList names { QStringLiteral("skin") };
    for (int e = 0; e < kElementCount; ++e) {
        const QString element = Skin::elementName(static_cast<Element>(e));
        names << element;
        for (int s = 1; s < kStateCount; ++s)
            names << element + u'.' + Skin::stateName(static_cast<State>(s));
    }
    return names;
}

QString nearestName(QStringView word, const QStringList &candidates)
{
    if (word.size() > kMaxCompared)
        return QString();
    const QString lower = word.toString().toLower();
    // A third of the word's letters (at least two) may be wrong before it stops being a typo.
    const int allowed = std::max(2, int(word.size()) / 3);
    QString best;
    int bestDistance = allowed + 1;
    for (const QString &candidate : candidates) {
        const int d = editDistance(lower, candidate.toLower(), bestDistance - 1);
        if (d < bestDistance) {
            bestDistance = d;
            best = candidate;
        }
    }
    return best;
}

} // namespace quillet::skin
