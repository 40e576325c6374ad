#include "catalogue/settingsfile.h"

#include "catalogue/privateprofile.h"

#include <cctype>
#include <limits>

namespace quillet::catalogue {

namespace {

constexpr QStringView kSkinSection = u"皮肤";
constexpr QStringView kCurrentSkinKey = u"当前皮肤";
constexpr QStringView kAccentKey = u"强调色";
constexpr qsizetype kAccentLength = 7; // #rrggbb
constexpr int kDecimalBase = 10;

} // namespace

int SettingsFile::readSkinIndex(const QString &settingsPath)
{
    return toIndex(PrivateProfile::read(settingsPath, kSkinSection.toString(), kCurrentSkinKey.toString()));
}

bool SettingsFile::writeSkinIndex(const QString &settingsPath, int index)
{
    return PrivateProfile::write(
        settingsPath, kSkinSection.toString(), kCurrentSkinKey.toString(), QString::number(index));
}

QColor SettingsFile::readAccent(const QString &settingsPath)
{
    const QString text
        = PrivateProfile::read(settingsPath, kSkinSection.toString(), kAccentKey.toString()).trimmed();
    // Only the form this program writes: a name or #rgb typed in by hand is not guessed at.
    if (text.size() != kAccentLength || text.front() != u'#')
        return {};
    for (qsizetype i = 1; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c > 0x7f || !std::isxdigit(int(c)))
            return {};
    }
    return QColor::fromString(text);
}

bool SettingsFile::writeAccent(const QString &settingsPath, const QColor &accent)
{
    const QColor stored = readAccent(settingsPath);
    const bool same = accent.isValid() ? stored.isValid() && stored.rgb() == accent.rgb() : !stored.isValid();
    if (same)
        return true;
    return PrivateProfile::write(settingsPath, kSkinSection.toString(), kAccentKey.toString(),
        accent.isValid() ? accent.name(QColor::HexRgb) : QString());
}

int SettingsFile::toIndex(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    // Only the whole part matters: the fraction is cut off anyway. Accumulate the
    // magnitude in the negative range, which holds one more value than the positive.
    constexpr int lowest = std::numeric_limits<int>::min();
    int magnitude = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        const int digit = text.at(i).unicode() - u'0';
        if (magnitude < (lowest + digit) / kDecimalBase) {
            magnitude = lowest;
            continue;
        }
        magnitude = magnitude * kDecimalBase - digit;
    }
    if (negative)
        return magnitude;
    return magnitude == lowest ? std::numeric_limits<int>::max() : -magnitude;
}

} // namespace quillet::catalogue
