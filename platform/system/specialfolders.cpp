#include "platform/system/specialfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillet::system {

namespace {

QString location(QStandardPaths::StandardLocation kind)
{
    return QDir::cleanPath(QStandardPaths::writableLocation(kind));
}

QString below(QStandardPaths::StandardLocation kind, const QString &relative)
{
    const QString base = location(kind);
    return base.isEmpty() ? QString() : base + u'/' + relative;
}

} // namespace

QString SpecialFolders::documents() const
{
    return location(QStandardPaths::DocumentsLocation);
}

QString SpecialFolders::favourites() const
{
    // GTK file managers keep the bookmarks as one list file; its folder is the nearest
    // thing to a folder of favourites.
    const QString folder = below(QStandardPaths::GenericConfigLocation, QStringLiteral("gtk-3.0"));
    if (folder.isEmpty() || !QFileInfo(folder + QStringLiteral("/bookmarks")).isFile())
        return {};
    return folder;
}

QString SpecialFolders::desktop() const
{
    return location(QStandardPaths::DesktopLocation);
}

QString SpecialFolders::fonts() const
{
    return below(QStandardPaths::GenericDataLocation, QStringLiteral("fonts"));
}

QString SpecialFolders::applicationsMenu() const
{
    return below(QStandardPaths::GenericDataLocation, QStringLiteral("applications"));
}

QString SpecialFolders::autostart() const
{
    return below(QStandardPaths::GenericConfigLocation, QStringLiteral("autostart"));
}

QString SpecialFolders::applicationData() const
{
    return location(QStandardPaths::GenericDataLocation);
}

QString SpecialFolders::systemRoot() const
{
    return QStringLiteral("/");
}

QString SpecialFolders::systemPrograms() const
{
    return QStringLiteral("/usr/bin");
}

QString SpecialFolders::temporary() const
{
    // The per-user temporary folder on Linux is whatever $TMPDIR names; there is no fixed
    // place below the documents folder to derive it from.
    return QDir::cleanPath(QDir::tempPath());
}

} // namespace quillet::system
