#include "batch/commandcontext.h"

#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"
#include "platform/file/filewriter.h"

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

int finishWriting(const CommandContext &context, QStringView prefix, const QString &folder,
    const QString &shownFolder, int written, int upToDate)
{
    QString syncProblem;
    if (!file::syncFileSystem(folder, &syncProblem))
        return fail(context.err, prefix,
            QStringLiteral("cannot make the files in \"") + shownFolder + QStringLiteral("\" durable: ")
                + syncProblem,
            WriteFailed);
    context.out << written << (written == 1 ? " file written, " : " files written, ") << upToDate
                << " already up to date\n";
    context.out.flush();
    return Success;
}

} // namespace quillet::batch
