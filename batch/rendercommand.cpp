#include "batch/rendercommand.h"

#include "batch/entryvalues.h"
#include "batch/manifest.h"
#include "batch/progressbar.h"
#include "batch/renderoptions.h"
#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"
#include "pictures/exportnaming.h"
#include "pictures/nametemplate.h"
#include "pictures/webexport.h"
#include "platform/file/filewriter.h"
#include "skin/skinparser.h"
#include "render/buttonrenderer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSemaphore>
#include <QSet>
#include <QTextStream>
#include <QThreadPool>

#include <atomic>
#include <map>

namespace quillet::batch {

namespace {

constexpr QStringView kCommand = u"quillet render: ";
// Encoding is the work; writing waits little, as the files are synced once at the end.
constexpr int kWriters = 4;
constexpr int kPicturesInFlight = 64;

struct PlannedJob
{
    pictures::ButtonJob job;
    QString skinFile;
    QList<pictures::WebExport::File> files;
    QStringList paths;
};

int fail(const RenderCommand::Context &context, const QString &message, int code = RenderCommand::BadInput)
{
    return batch::fail(context.err, kCommand, message, code);
}

// The catalogue's file for a skin named by its list name or its file name.
// Nothing is written through a link: neither the file nor a folder between it and the
// output folder may be one. Each folder is asked once, however many files lie in it.
bool passesThroughLink(const QString &folder, const QString &relative, QHash<QString, bool> &folderIsLink)
{
    QString path = folder;
    const QStringList parts = relative.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        path += u'/' + parts[i];
        const bool last = i + 1 == parts.size();
        if (!last) {
            auto known = folderIsLink.find(path);
            if (known == folderIsLink.end())
                known = folderIsLink.insert(path, QFileInfo(path).isSymLink());
            if (*known)
                return true;
        } else if (QFileInfo(path).isSymLink()) {
            return true;
        }
    }
    return false;
}

} // namespace

QStringList RenderCommand::skinNames(const QString &programFolder)
{
    const QStringList files = batch::skinFiles(programFolder);
    QStringList names;
    for (const QString &file : files)
        names.append(catalogue::SkinCatalogue::displayName(file));
    return names;
}

int RenderCommand::run(const QStringList &arguments, const Context &context)
{
    const RenderOptions options = RenderOptions::parse(arguments);
    if (!options.error.isEmpty())
        return fail(context, options.error);
    switch (options.action) {
    case RenderOptions::Action::Help:
        context.out << RenderOptions::usage();
        context.out.flush();
        return Success;
    case RenderOptions::Action::Version:
        context.out << "quillet " << QStringLiteral(QUILLET_VERSION) << u'\n';
        context.out.flush();
        return Success;
    case RenderOptions::Action::ListSkins:
        for (const QString &name : skinNames(context.programFolder))
            context.out << name << u'\n';
        context.out.flush();
        return Success;
    case RenderOptions::Action::Render:
        break;
    }

    QList<RenderEntry> entries;
    if (options.manifestPath.isEmpty()) {
        entries.append(options.entry);
    } else {
        QFile file(options.manifestPath);
        if (!file.open(QIODevice::ReadOnly))
            return fail(context, QStringLiteral("--manifest: cannot read \"") + options.manifestPath + u'"');
        QString error;
        entries = Manifest::read(
            file.readAll(), options.entry, &error, QFileInfo(options.manifestPath).absolutePath());
        if (entries.isEmpty())
            return fail(context, error);
    }

    const QStringList skinFiles = batch::skinFiles(context.programFolder);
    QHash<QString, skin::Skin> skins;

    if (const QString problem = outFolderProblem(options.out); !problem.isEmpty())
        return fail(context, problem);
    const QString folder = QFileInfo(options.out).absoluteFilePath();

    // Everything is checked before the first file is written.
    QList<PlannedJob> jobs;
    QSet<QString> paths;
    QHash<QString, bool> folderIsLink;
    int exportNumber = 0;
    qsizetype fileCount = 0;
    for (const RenderEntry &entry : std::as_const(entries)) {
        const QString skinFile = catalogue::SkinCatalogue::fileNamed(entry.skin, skinFiles);
        if (skinFile.isEmpty())
            return fail(context,
                entry.origin + QStringLiteral(": unknown skin \"") + entry.skin
                    + QStringLiteral("\" (see --list-skins)"));
        if (!skins.contains(skinFile))
            skins.insert(skinFile,
                skin::SkinParser::parseFile(
                    catalogue::ProgramPaths::skinFile(context.programFolder, skinFile)));
        QFont font;
        EntryValues::parseFont(entry.font, &font);
        // The combo and the check box keep the designer's own font.
        const QFont controlFont = QApplication::font();
        for (const QString &caption : entry.captions) {
            PlannedJob planned;
            pictures::ButtonJob &job = planned.job;
            job.caption = caption;
            job.buttonSize = QSize(entry.width, entry.height);
            job.font = font;
            job.borderRemoval = entry.borderRemoval;
            job.button = entry.button;
            job.combo = entry.combo;
            job.check = entry.check;
            job.comboFont = controlFont;
            job.checkFont = controlFont;
            job.format = entry.format;
            job.ratios = entry.ratios;
            job.transparent = entry.transparent;
            job.sprite = entry.sprite;
            job.focus = entry.focus;
            job.icon = entry.icon;
            job.background = skins.value(skinFile).base();
            job.exportNumber = ++exportNumber;
            job.nameTemplate = entry.nameTemplate;
            job.skinName = catalogue::SkinCatalogue::displayName(skinFile);
            planned.skinFile = skinFile;
            planned.files = pictures::WebExport::plan(job);
            if (planned.files.isEmpty())
                return fail(context,
                    entry.origin + QStringLiteral(": --name \"") + job.nameTemplate
                        + QStringLiteral("\" gives a name outside --out for \"") + caption + u'"');
            for (const pictures::WebExport::File &file : std::as_const(planned.files)) {
                const QString path = pictures::NameTemplate::isSafeRelativePath(file.name)
                    ? pictures::ExportNaming::folderPrefix(folder) + file.name
                    : QString();
                if (path.isEmpty())
                    return fail(context,
                        entry.origin + QStringLiteral(": \"") + file.name
                            + QStringLiteral("\" cannot be a file name"));
                if (paths.contains(path))
                    return fail(context,
                        entry.origin + QStringLiteral(": \"") + file.name
                            + QStringLiteral("\" would be written twice"));
                if (passesThroughLink(folder, file.name, folderIsLink))
                    return fail(context,
                        entry.origin + QStringLiteral(": \"") + file.name
                            + QStringLiteral("\" is a link; nothing is written through links"));
                paths.insert(path);
                planned.paths.append(path);
            }
            fileCount += planned.files.size();
            jobs.append(planned);
        }
    }
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        return fail(context, QStringLiteral("--out: cannot create the folder \"") + options.out + u'"');
    // Templates with folders: each folder is made before its files are written.
    QSet<QString> subfolders;
    for (const QString &path : std::as_const(paths))
        subfolders.insert(QFileInfo(path).path());
    for (const QString &subfolder : std::as_const(subfolders)) {
        if (!QDir().mkpath(subfolder) || !QFileInfo(subfolder).isDir())
            return fail(
                context, QStringLiteral("cannot create the folder \"") + subfolder + u'"', WriteFailed);
    }

    // Drawing needs this thread; encoding and writing go to a pool, where the wait of
    // one file's write to disk overlaps the work on the next ones.
    std::map<QString, render::ButtonRenderer> renderers;
    ProgressBar progress(context.err, int(fileCount), context.errorIsTerminal);
    QThreadPool pool;
    pool.setMaxThreadCount(kWriters);
    QSemaphore room(kPicturesInFlight);
    std::atomic<int> done { 0 };
    std::atomic<int> upToDate { 0 };
    std::atomic<bool> failed { false };
    QMutex failureLock;
    QString failure;
    for (const PlannedJob &planned : std::as_const(jobs)) {
        auto found = renderers.find(planned.skinFile);
        if (found == renderers.end())
            found = renderers.emplace(planned.skinFile, render::ButtonRenderer(skins.value(planned.skinFile)))
                        .first;
        for (qsizetype i = 0; i < planned.files.size() && !failed; ++i) {
            const pictures::WebExport::File file = planned.files[i];
            const QString path = planned.paths[i];
            const QImage drawn = pictures::WebExport::draw(file, planned.job, found->second);
            room.acquire();
            pool.start([&, file, path, drawn, job = &planned.job] {
                const QByteArray bytes = pictures::WebExport::encode(file, *job, drawn);
                // A rerun leaves a file whose bytes would not change as it is; durability
                // comes from one sync of the file system at the end.
                const file::WriteResult result = bytes.isEmpty()
                    ? file::WriteResult { file::WriteResult::Outcome::Failed,
                          QStringLiteral("cannot encode the picture") }
                    : file::writeFile(path, bytes, { .skipUnchanged = true, .syncNow = false });
                if (result.outcome == file::WriteResult::Outcome::UpToDate)
                    ++upToDate;
                if (!result.ok()) {
                    const QMutexLocker lock(&failureLock);
                    if (!failed.exchange(true))
                        failure = QStringLiteral("cannot write \"") + path + QStringLiteral("\": ")
                            + result.reason;
                }
                ++done;
                room.release();
            });
            progress.show(done);
        }
    }
    pool.waitForDone();
    progress.show(done);
    progress.finish();
    if (failed)
        return fail(context, failure, WriteFailed);
    return finishWriting(context, kCommand, folder, options.out, done - upToDate, upToDate);
}

} // namespace quillet::batch
