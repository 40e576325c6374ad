#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QListWidget;

namespace quillet::catalogue {

// The skin list: the *.an files of the skins folder, greatest name first, and the
// list box items that show them.
class SkinCatalogue
{
public:
    // Replaces skinFiles with the names of the *.an files in skinsFolder (suffix in
    // any letter case, files only, no subfolders) and list's items with their display
    // names, entry k of skinFiles belonging to item k. processEvents runs after each
    // file found, so the window keeps answering while a large folder is read; it may
    // delete the list, which is then left alone. A missing folder gives empty lists.
    static void fill(const QString &skinsFolder, QStringList &skinFiles, QListWidget *list,
        const std::function<void()> &processEvents);

    // The text before the first "." ("my.skin.an" -> "my", ".an" -> "").
    static QString displayName(const QString &fileName);
    // The file of skinFiles a skin is named by, its list name or its file name; empty
    // when there is none.
    static QString fileNamed(const QString &name, const QStringList &skinFiles);
};

} // namespace quillet::catalogue
