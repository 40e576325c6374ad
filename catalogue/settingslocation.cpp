#include "catalogue/settingslocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillet::catalogue {

namespace {

constexpr QStringView kSysFolder = u"/sys/";
// Length of the random part of a temporary's name.
constexpr qsizetype kTemporarySuffixLength = 6;

bool isTemporaryName(const QString &name, const QString &fileName)
{
    if (name.size() != fileName.size() + 1 + kTemporarySuffixLength || !name.startsWith(fileName)
        || name.at(fileName.size()) != u'.')
        return false;
    for (qsizetype i = fileName.size() + 1; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const bool asciiLetterOrDigit
            = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
        if (!asciiLetterOrDigit)
            return false;
    }
    return true;
}

bool installationIsWritable(const QString &programFolder, const SettingsLocation::WritableCheck &isWritable)
{
    const QString file = SettingsLocation::installedFile(programFolder);
    const QFileInfo sys(QFileInfo(file).absolutePath());
    if (!sys.isDir() || !isWritable(sys.absoluteFilePath()))
        return false;
    const QFileInfo info(file);
    return !info.exists() || (info.isFile() && isWritable(file));
}

QString userFile(const QString &userFolder)
{
    return userFolder + u'/' + SettingsLocation::kFileName;
}

} // namespace

QString SettingsLocation::readPath(const QString &programFolder)
{
    return readPath(programFolder, userFolder(), &SettingsLocation::isWritable);
}

QString SettingsLocation::writePath(const QString &programFolder)
{
    return writePath(programFolder, userFolder(), &SettingsLocation::isWritable);
}

QString SettingsLocation::readPath(
    const QString &programFolder, const QString &userFolder, const WritableCheck &isWritable)
{
    if (installationIsWritable(programFolder, isWritable) || userFolder.isEmpty())
        return installedFile(programFolder);
    const QString user = userFile(userFolder);
    return QFileInfo(user).isFile() ? user : installedFile(programFolder);
}

QString SettingsLocation::writePath(
    const QString &programFolder, const QString &userFolder, const WritableCheck &isWritable)
{
    QString path;
    if (installationIsWritable(programFolder, isWritable) || userFolder.isEmpty()) {
        path = installedFile(programFolder);
    } else {
        // A failure shows in the write itself, which then fails quietly.
        QDir().mkpath(userFolder);
        path = userFile(userFolder);
    }
    // Each killed write would otherwise leave one more copy behind. Should a second
    // instance be writing at this very moment, losing its temporary only makes its
    // rename fail: its write is dropped, the file stays whole.
    removeStaleTemporaries(path);
    return path;
}

QString SettingsLocation::installedFile(const QString &programFolder)
{
    return programFolder + kSysFolder + kFileName;
}

QString SettingsLocation::userFolder()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? QString() : config + u'/' + kUserFolderName;
}

bool SettingsLocation::isWritable(const QString &path)
{
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    const QFileInfo info(path);
    return info.isWritable() && (info.permissions() & anyWrite);
}

int SettingsLocation::removeStaleTemporaries(const QString &filePath)
{
    const QFileInfo file(filePath);
    const QString fileName = file.fileName();
    if (fileName.isEmpty())
        return 0;
    QDir folder = file.absoluteDir();
    const QStringList candidates
        = folder.entryList({ fileName + QStringLiteral(".*") }, QDir::Files | QDir::Hidden | QDir::System);
    int removed = 0;
    for (const QString &name : candidates) {
        // Only regular files: a link of that name may point anywhere.
        const QFileInfo candidate(folder.filePath(name));
        if (isTemporaryName(name, fileName) && !candidate.isSymLink() && candidate.isFile()
            && folder.remove(name))
            ++removed;
    }
    return removed;
}

} // namespace quillet::catalogue
