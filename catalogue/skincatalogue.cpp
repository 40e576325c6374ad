#include "catalogue/skincatalogue.h"

#include "catalogue/skinorder.h"

#include <QDirIterator>
#include <QListWidget>
#include <QPointer>

namespace quillet::catalogue {

namespace {

constexpr QLatin1StringView kSkinSuffix(".an");

} // namespace

void SkinCatalogue::fill(const QString &skinsFolder, QStringList &skinFiles, QListWidget *list,
    const std::function<void()> &processEvents)
{
    const QPointer<QListWidget> guardedList(list);
    skinFiles.clear();
    if (guardedList)
        guardedList->clear();
    // Hidden is needed for a file named just ".an"; System would add broken links.
    QDirIterator it(skinsFolder, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        const QString fileName = it.nextFileInfo().fileName();
        if (!fileName.endsWith(kSkinSuffix, Qt::CaseInsensitive))
            continue;
        skinFiles.append(fileName);
        if (processEvents)
            processEvents();
    }
    SkinOrder::sortDescending(skinFiles);
    if (!guardedList)
        return;
    for (const QString &fileName : std::as_const(skinFiles))
        guardedList->addItem(displayName(fileName));
}

QString SkinCatalogue::displayName(const QString &fileName)
{
    const qsizetype dot = fileName.indexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

QString SkinCatalogue::fileNamed(const QString &name, const QStringList &skinFiles)
{
    for (const QString &file : skinFiles) {
        if (displayName(file) == name)
            return file;
    }
    return skinFiles.contains(name) ? name : QString();
}

} // namespace quillet::catalogue
