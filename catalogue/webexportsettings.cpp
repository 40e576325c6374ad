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
using model::IconPosition;

struct PositionName
{
    IconPosition position;
    QStringView name;
};
constexpr PositionName kPositionNames[]
    = { { IconPosition::Left, u"left" }, { IconPosition::Right, u"right" }, { IconPosition::Top, u"top" } };

IconPosition positionNamed(const QString &name)
{
    for (const PositionName &entry : kPositionNames) {
        if (name.compare(entry.name, Qt::CaseInsensitive) == 0)
            return entry.position;
    }
    return IconPosition::Left;
}

QString nameOf(IconPosition position)
{
    for (const PositionName &entry : kPositionNames) {
        if (entry.position == position)
            return entry.name.toString();
    }
    return kPositionNames[0].name.toString();
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

model::ButtonIcon WebExportSettings::readIcon(const QString &settingsPath)
{
    model::ButtonIcon icon;
    const std::optional<QByteArray> content = PrivateProfile::contents(settingsPath);
    if (!content)
        return icon;
    const QString section = kSection.toString();
    icon.file = PrivateProfile::valueIn(*content, section, kIconFileKey.toString());
    icon.position = positionNamed(PrivateProfile::valueIn(*content, section, kIconPositionKey.toString()));
    return icon;
}

bool WebExportSettings::writeIcon(const QString &settingsPath, const model::ButtonIcon &icon)
{
    const model::ButtonIcon stored = readIcon(settingsPath);
    const QString section = kSection.toString();
    bool written = true;
    if (stored.file != icon.file)
        written = PrivateProfile::write(settingsPath, section, kIconFileKey.toString(), icon.file);
    if (stored.position != icon.position)
        written
            = PrivateProfile::write(settingsPath, section, kIconPositionKey.toString(), nameOf(icon.position))
            && written;
    return written;
}

} // namespace quillet::catalogue
