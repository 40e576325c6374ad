#pragma once

#include <QString>

#include <optional>

namespace quillet::integration {

// The fields of a desktop shortcut.
struct ShortcutFields
{
    QString shortcutPath;
    QString workingFolder;
    QString targetPath;
    // "file,index"; when absent the target's own icon.
    std::optional<QString> iconLocation;
    int windowStyle = 1;
    QString description;
    QString arguments;
    QString hotKey;
};

// How launchers are written on this installation.
struct LauncherSettings
{
    // Icon= for the program's own icon: an installed icon name or an absolute image path.
    // ensureOnDesktop replaces the name by the icon file a copy carries beside itself.
    QString programIcon = QStringLiteral("quillet");
    // Ask the file manager to trust the launcher so that it starts on double click.
    bool markTrusted = true;
    int trustTimeoutMs = 2000;
};

// Writes freedesktop launcher files, the desktop shortcut of this system.
class DesktopLauncher
{
public:
    static constexpr auto LauncherFileName = "Quillet 3.0.desktop";
    static constexpr auto DefaultName = "Quillet 3.0";
    // The icon file that a portable copy (and the build tree) keeps beside the program;
    // an installation has none there, its icon lies in the icon theme.
    static constexpr auto IconFileName = "quillet.png";

    // False when there is nothing to write (no shortcut path, its folder missing, no
    // target) or the file could not be written.
    static bool createShortcut(const ShortcutFields &fields, const LauncherSettings &settings = {});

    // Writes the program's launcher into the desktop folder unless a file of that name is
    // already there, whatever it holds. Its icon is the program's icon file when one lies
    // beside the program, else settings.programIcon.
    static void ensureOnDesktop(const QString &desktopFolder, const QString &programFolder,
        const QString &executableName, const LauncherSettings &settings = {});

    // The launcher file's text for the fields.
    static QByteArray launcherText(const ShortcutFields &fields, const LauncherSettings &settings);

    // The absolute path of the icon file beside the program, or themeIcon when there is none.
    static QString programIcon(const QString &programFolder, const QString &themeIcon);

    // One Exec argument, quoted when needed and escaped for the desktop entry value.
    static QString execArgument(const QString &argument);
    // Icon= value for an icon location "file,index".
    static QString iconValue(const ShortcutFields &fields, const LauncherSettings &settings);
};

} // namespace quillet::integration
