#include "output/outputfolder.h"

#include "platform/form/dialogs.h"
#include "platform/system/specialfolders.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace quillet::output {

QString OutputFolder::withOneSlash(const QString &path)
{
    if (path.isEmpty())
        return {};
    qsizetype end = path.size();
    while (end > 0 && path.at(end - 1) == u'/')
        --end;
    return path.left(end) + u'/';
}

QString OutputFolder::GetSpecialFolder(int kind)
{
    const system::SpecialFolders folders;
    return GetSpecialFolder(kind, folders);
}

QString OutputFolder::GetSpecialFolder(int kind, const system::SpecialFolders &folders)
{
    switch (kind) {
    case 1:
        return withOneSlash(folders.documents());
    case 2:
        return withOneSlash(folders.favourites());
    case 3:
        return withOneSlash(folders.desktop());
    case 4:
        return withOneSlash(folders.fonts());
    case 5: // start menu
    case 6: // start menu programs: the same single applications menu folder
        return withOneSlash(folders.applicationsMenu());
    case 7:
        return withOneSlash(folders.autostart());
    case 8:
        return withOneSlash(folders.applicationData());
    case 9:
        return withOneSlash(folders.systemRoot());
    case 10:
        return withOneSlash(folders.systemPrograms());
    case 11:
        return withOneSlash(folders.temporary());
    default:
        return {};
    }
}

QString OutputFolder::GetWindowsFolder()
{
    const system::SpecialFolders folders;
    return withOneSlash(folders.systemRoot());
}

QString OutputFolder::defaultBrowseTitle()
{
    return QCoreApplication::translate("OutputFolder", "请选择一个文件夹");
}

QString OutputFolder::BrowseForFolder(form::Dialogs &dialogs, BrowseMemory &memory, QWidget *owner,
    const QString &startFolder, const QString &title)
{
    memory.owner = owner;
    memory.initialFolder = startFolder;
    const QString chosen = dialogs.chooseFolder(owner, startFolder, title);
    // Stray blanks around a typed path are dropped, but Linux names may really end in a
    // blank: a path that exists as given is kept, so the images land where the user chose.
    if (chosen.isEmpty() || QFileInfo::exists(chosen))
        return chosen;
    return chosen.trimmed();
}

} // namespace quillet::output
