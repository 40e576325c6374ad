#include "batch/commandcontext.h"

#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"

#include <QFileInfo>

namespace quillet::batch {

QStringList skinFiles(const QString &programFolder)
{
    QStringList files;
    catalogue::SkinCatalogue::fill(catalogue::ProgramPaths::skinsFolder(programFolder), files, nullptr, {});
    return files;
}

QString outFolderProblem(const QString &out)
{
    const QFileInfo info(out);
    if (info.exists() && !info.isDir())
        return QStringLiteral("--out: \"") + out + QStringLiteral("\" is not a folder");
    if (info.isDir() && !info.isWritable())
        return QStringLiteral("--out: cannot write into \"") + out + u'"';
    return {};
}

} // namespace quillet::batch
