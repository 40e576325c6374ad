#include "catalogue/webexportsettings.h"

#include "catalogue/privateprofile.h"
#include "catalogue/settingsfile.h"

namespace quillet::catalogue {

namespace {
bool flagIn(const QByteArray &content, QStringView key)
{
    return SettingsFile::toIndex(
               PrivateProfile::valueIn(content, WebExportSettings::kSection.toString(), key.toString()))
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
    // One read of the file for all the values: this runs at start-up.
    model::WebOptions options;
    const std::optional<QByteArray> content = PrivateProfile::contents(settingsPath);
    if (!content)
        return options;
    options.transparent = flagIn(*content, kTransparentKey);
    options.twoX = flagIn(*content, kTwoXKey);
    options.sprite = flagIn(*content, kSpriteKey);
    options.focus = flagIn(*content, kFocusKey);
    return options;
}

bool WebExportSettings::write(const QString &settingsPath, const model::WebOptions &options)
{
    const bool transparent = writeFlag(settingsPath, kTransparentKey, options.transparent);
    const bool twoX = writeFlag(settingsPath, kTwoXKey, options.twoX);
    const bool sprite = writeFlag(settingsPath, kSpriteKey, options.sprite);
    const bool focus = writeFlag(settingsPath, kFocusKey, options.focus);
    return transparent && twoX && sprite && focus;
}

} // namespace quillet::catalogue
