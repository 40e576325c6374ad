#include "integration/desktoplauncher.h"

#include "platform/file/filewriter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace quillet::integration {

namespace {

constexpr auto LauncherSuffix = u".desktop";
// rwxr-xr-x: launchers are started only when marked executable.
constexpr int ExecutableMode = 0755;
constexpr int KillWaitMs = 500;

// Characters that force an Exec argument into double quotes.
bool isReserved(QChar c)
{
    static constexpr QStringView Reserved = u" \t\n\"'\\><~|&;$*?#()`";
    return Reserved.contains(c);
}

// The escapes every desktop entry string value takes; control characters the format
// cannot carry are left out.
QString escapeValue(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\')
            out += u"\\\\";
        else if (c == u'\n')
            out += u"\\n";
        else if (c == u'\t')
            out += u"\\t";
        else if (c == u'\r')
            out += u"\\r";
        else if (i == 0 && c == u' ')
            out += u"\\s";
        else if (c.category() != QChar::Other_Control)
            out += c;
    }
    return out;
}

QString launcherName(const QString &shortcutPath)
{
    QString name = QFileInfo(shortcutPath).fileName();
    if (name.endsWith(LauncherSuffix))
        name.chop(QStringView(LauncherSuffix).size());
    return name.isEmpty() ? QString::fromLatin1(DesktopLauncher::DefaultName) : name;
}

bool isImageFile(const QString &path)
{
    static const QStringList ImageSuffixes
        = { QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("svgz"), QStringLiteral("xpm") };
    return ImageSuffixes.contains(QFileInfo(path).suffix().toLower());
}

void markTrusted(const QString &path, const LauncherSettings &settings)
{
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        return;
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(
        gio, { QStringLiteral("set"), path, QStringLiteral("metadata::trusted"), QStringLiteral("true") });
    if (!process.waitForStarted(settings.trustTimeoutMs))
        return;
    if (!process.waitForFinished(settings.trustTimeoutMs)) {
        process.kill();
        process.waitForFinished(KillWaitMs);
    }
}

} // namespace

QString DesktopLauncher::execArgument(const QString &argument)
{
    QString quoted;
    bool needsQuotes = argument.isEmpty();
    for (const QChar c : argument) {
        if (isReserved(c))
            needsQuotes = true;
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    if (needsQuotes)
        quoted = u'"' + quoted + u'"';
    quoted.replace(u'%', QStringLiteral("%%"));
    return quoted;
}

QString DesktopLauncher::iconValue(const ShortcutFields &fields, const LauncherSettings &settings)
{
    QString file = fields.iconLocation.value_or(fields.targetPath + QStringLiteral(",0"));
    const qsizetype comma = file.lastIndexOf(u',');
    if (comma >= 0) {
        bool isIndex = false;
        file.mid(comma + 1).trimmed().toInt(&isIndex);
        if (isIndex)
            file.truncate(comma);
    }
    file = file.trimmed();
    const bool isTarget = !file.isEmpty() && QDir::cleanPath(file) == QDir::cleanPath(fields.targetPath);
    // Icons inside executables have no launcher form: the program's own icon stands in.
    if (!isTarget && QFileInfo(file).isAbsolute() && isImageFile(file))
        return file;
    return settings.programIcon;
}

QString DesktopLauncher::programIcon(const QString &programFolder, const QString &themeIcon)
{
    if (programFolder.isEmpty())
        return themeIcon;
    const QFileInfo icon(programFolder + u'/' + QString::fromLatin1(IconFileName));
    if (!icon.isFile() || !icon.isAbsolute())
        return themeIcon;
    return icon.absoluteFilePath();
}

QByteArray DesktopLauncher::launcherText(const ShortcutFields &fields, const LauncherSettings &settings)
{
    QString exec = execArgument(fields.targetPath);
    for (const QString &argument : QProcess::splitCommand(fields.arguments))
        exec += u' ' + execArgument(argument);

    QString text = QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Version=1.0\n");
    text += QStringLiteral("Name=") + escapeValue(launcherName(fields.shortcutPath)) + u'\n';
    if (!fields.description.isEmpty())
        text += QStringLiteral("Comment=") + escapeValue(fields.description) + u'\n';
    text += QStringLiteral("Exec=") + escapeValue(exec) + u'\n';
    if (!fields.workingFolder.isEmpty())
        text += QStringLiteral("Path=") + escapeValue(fields.workingFolder) + u'\n';
    const QString icon = iconValue(fields, settings);
    if (!icon.isEmpty())
        text += QStringLiteral("Icon=") + escapeValue(icon) + u'\n';
    text += QStringLiteral("Terminal=false\n");
    text += QStringLiteral("StartupNotify=true\n");
    text += QStringLiteral("Categories=Graphics;RasterGraphics;\n");
    // Window style and hot key have no launcher key; kept so that nothing given is lost.
    text += QStringLiteral("X-Quillet-WindowStyle=") + QString::number(fields.windowStyle) + u'\n';
    if (!fields.hotKey.isEmpty())
        text += QStringLiteral("X-Quillet-Hotkey=") + escapeValue(fields.hotKey) + u'\n';
    return text.toUtf8();
}

bool DesktopLauncher::createShortcut(const ShortcutFields &fields, const LauncherSettings &settings)
{
    if (fields.shortcutPath.isEmpty() || fields.targetPath.isEmpty())
        return false;
    // The desktop folder is the user's: a missing one is not made for them.
    if (!QFileInfo(fields.shortcutPath).absoluteDir().exists())
        return false;

    file::WriteOptions options;
    // Set before the launcher appears: a desktop never sees it unmarked.
    options.mode = ExecutableMode;
    if (!file::writeFile(fields.shortcutPath, launcherText(fields, settings), options).ok())
        return false;
    if (settings.markTrusted)
        markTrusted(fields.shortcutPath, settings);
    return true;
}

void DesktopLauncher::ensureOnDesktop(const QString &desktopFolder, const QString &programFolder,
    const QString &executableName, const LauncherSettings &settings)
{
    if (desktopFolder.isEmpty() || executableName.isEmpty())
        return;
    QString folder = desktopFolder;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    const QFileInfo existing(folder + QString::fromLatin1(LauncherFileName));
    // Existence alone decides, whatever the file holds; a dangling link counts too.
    if (existing.exists() || existing.isSymLink())
        return;
    ShortcutFields fields;
    fields.shortcutPath = existing.filePath();
    fields.workingFolder = programFolder;
    fields.targetPath = programFolder + u'/' + executableName;
    // A theme name resolves only for an installed program; a copy elsewhere shows its own file.
    LauncherSettings chosen = settings;
    chosen.programIcon = programIcon(programFolder, settings.programIcon);
    createShortcut(fields, chosen);
}

} // namespace quillet::integration
