#include "catalogue/webexportsettings.h"

#include "catalogue/privateprofile.h"
#include "catalogue/settingsfile.h"

namespace quillet::catalogue {

namespace {
bool readFlag(const QString &path, QStringView key)
{
    return SettingsFile::toIndex(
               PrivateProfile::read(path, WebExportSettings::kSection.toString(), key.toString()))
        != 0;
}

bool writeFlag(const QString &path, QStringView key, bool on)
{
    const QString section = WebExportSettings::kSection.toString();
    // A value that already says the same (a missing one says off) is not written: the
    // settings file of a user who never turns an option on stays as it was.
    const QString stored = PrivateProfile::read(path, section, key.toString());
    if ((SettingsFile::toIndex(stored) != 0) == on)
        return true;
    return PrivateProfile::write(
        path, section, key.toString(), on ? QStringLiteral("1") : QStringLiteral("0"));
}
} // namespace

model::WebOptions WebExportSettings::read(const QString &settingsPath)
{
    model::WebOptions options;
    options.transparent = readFlag(settingsPath, kTransparentKey);
    options.twoX = readFlag(settingsPath, kTwoXKey);
    options.sprite = readFlag(settingsPath, kSpriteKey);
    return options;
}

bool WebExportSettings::write(const QString &settingsPath, const model::WebOptions &options)
{
    const bool transparent = writeFlag(settingsPath, kTransparentKey, options.transparent);
    const bool twoX = writeFlag(settingsPath, kTwoXKey, options.twoX);
    const bool sprite = writeFlag(settingsPath, kSpriteKey, options.sprite);
    return transparent && twoX && sprite;
}

} // namespace quillet::catalogue
