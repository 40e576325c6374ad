#include "catalogue/settingsfile.h"

#include "catalogue/privateprofile.h"

#include <limits>

namespace quillet::catalogue {

namespace {

constexpr QStringView kSkinSection = u"皮肤";
constexpr QStringView kCurrentSkinKey = u"当前皮肤";
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
