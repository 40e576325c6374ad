#include "app/webexportsettings.h"

#include "app/privateprofile.h"
#include "app/settingsfile.h"

namespace quillet::app {

namespace {
bool readFlag(const QString &path, QStringView key)
{
    return SettingsFile::toIndex(PrivateProfile::read(path, WebExportSettings::kSection.toString(), key.toString()))
        != 0;
}

bool writeFlag(const QString &path, QStringView key, bool on)
{
    const QString section = WebExportSettings::kSection.toString();
    const QString value = on ? QStringLiteral("1") : QStringLiteral("0");
    // A value already stored is not rewritten: a settings file that is never changed
    // is never replaced.
    if (PrivateProfile::read(path, section, key.toString()) == value)
        return true;
    return PrivateProfile::write(path, section, key.toString(), value);
}
} // namespace

output::WebOptions WebExportSettings::read(const QString &settingsPath)
{
    output::WebOptions options;
    options.transparent = readFlag(settingsPath, kTransparentKey);
    options.twoX = readFlag(settingsPath, kTwoXKey);
    options.sprite = readFlag(settingsPath, kSpriteKey);
    return options;
}

bool WebExportSettings::write(const QString &settingsPath, const output::WebOptions &options)
{
    const bool transparent = writeFlag(settingsPath, kTransparentKey, options.transparent);
    const bool twoX = writeFlag(settingsPath, kTwoXKey, options.twoX);
    const bool sprite = writeFlag(settingsPath, kSpriteKey, options.sprite);
    return transparent && twoX && sprite;
}

} // namespace quillet::app
