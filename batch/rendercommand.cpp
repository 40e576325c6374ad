#include "batch/rendercommand.h"

#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"
#include "batch/entryvalues.h"
#include "batch/manifest.h"
#include "batch/progressbar.h"
#include "batch/renderoptions.h"
#include "output/exportnaming.h"
#include "output/webexport.h"
#include "platform/image/atomicfile.h"
#include "platform/skin/skinparser.h"
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
// Writers wait on the disk (every file is synced) more than on the processor.
constexpr int kWriters = 8;
constexpr int kPicturesInFlight = 64;

struct PlannedJob
{
    output::ButtonJob job;
    QString skinFile;
    QList<output::WebExport::File> files;
    QStringList paths;
};

int fail(const RenderCommand::Context &context, const QString &message, int code = RenderCommand::BadInput)
{
    context.err << kCommand << message << u'\n';
    context.err.flush();
    return code;
}

// The catalogue's file for a skin named by its list name or its file name.
QString skinFileFor(const QString &name, const QStringList &files)
{
    for (const QString &file : files) {
        if (catalogue::SkinCatalogue::displayName(file) == name)
            return file;
    }
    return files.contains(name) ? name : QString();
}

} // namespace

QStringList RenderCommand::skinNames(const QString &programFolder)
{
    QStringList files;
    catalogue::SkinCatalogue::fill(catalogue::ProgramPaths::skinsFolder(programFolder), files, nullptr, {});
    QStringList names;
    for (const QString &file : std::as_const(files))
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
        entries = Manifest::read(file.readAll(), options.entry, &error);
        if (entries.isEmpty())
            return fail(context, error);
    }

    QStringList skinFiles;
    catalogue::SkinCatalogue::fill(catalogue::ProgramPaths::skinsFolder(context.programFolder), skinFiles, nullptr, {});
    QHash<QString, skin::Skin> skins;

    const QFileInfo outInfo(options.out);
    if (outInfo.exists() && !outInfo.isDir())
        return fail(
            context, QStringLiteral("--out: \"") + options.out + QStringLiteral("\" is not a folder"));
    if (outInfo.isDir() && !outInfo.isWritable())
        return fail(context, QStringLiteral("--out: cannot write into \"") + options.out + u'"');
    const QString folder = outInfo.absoluteFilePath();

    // Everything is checked before the first file is written.
    QList<PlannedJob> jobs;
    QSet<QString> paths;
    int exportNumber = 0;
    qsizetype fileCount = 0;
    for (const RenderEntry &entry : std::as_const(entries)) {
        const QString skinFile = skinFileFor(entry.skin, skinFiles);
        if (skinFile.isEmpty())
            return fail(context,
                entry.origin + QStringLiteral(": unknown skin \"") + entry.skin
                    + QStringLiteral("\" (see --list-skins)"));
        if (!skins.contains(skinFile))
            skins.insert(skinFile,
                skin::SkinParser::parseFile(catalogue::ProgramPaths::skinFile(context.programFolder, skinFile)));
        QFont font;
        EntryValues::parseFont(entry.font, &font);
        // The combo and the check box keep the designer's own font.
        const QFont controlFont = QApplication::font();
        for (const QString &caption : entry.captions) {
            PlannedJob planned;
            output::ButtonJob &job = planned.job;
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
            job.background = skins.value(skinFile).base();
            job.exportNumber = ++exportNumber;
            planned.skinFile = skinFile;
            planned.files = output::WebExport::plan(job);
            for (const output::WebExport::File &file : std::as_const(planned.files)) {
                const QString path = output::ExportNaming::fullPath(folder, file.name);
                if (path.isEmpty())
                    return fail(context,
                        entry.origin + QStringLiteral(": \"") + file.name
                            + QStringLiteral("\" cannot be a file name"));
                if (paths.contains(path))
                    return fail(context,
                        entry.origin + QStringLiteral(": \"") + file.name
                            + QStringLiteral("\" would be written twice"));
                if (QFileInfo(path).isSymLink())
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

    // Drawing needs this thread; encoding and writing go to a pool, where the wait of
    // one file's write to disk overlaps the work on the next ones.
    std::map<QString, render::ButtonRenderer> renderers;
    ProgressBar progress(context.err, int(fileCount), context.errorIsTerminal);
    QThreadPool pool;
    pool.setMaxThreadCount(kWriters);
    QSemaphore room(kPicturesInFlight);
    std::atomic<int> done { 0 };
    std::atomic<bool> failed { false };
    QMutex failureLock;
    QString failedPath;
    for (const PlannedJob &planned : std::as_const(jobs)) {
        auto found = renderers.find(planned.skinFile);
        if (found == renderers.end())
            found = renderers.emplace(planned.skinFile, render::ButtonRenderer(skins.value(planned.skinFile)))
                        .first;
        for (qsizetype i = 0; i < planned.files.size() && !failed; ++i) {
            const output::WebExport::File file = planned.files[i];
            const QString path = planned.paths[i];
            const QImage drawn = output::WebExport::draw(file, planned.job, found->second);
            room.acquire();
            pool.start([&, file, path, drawn, job = &planned.job] {
                const QByteArray bytes = output::WebExport::encode(file, *job, drawn);
                if (bytes.isEmpty() || !image::AtomicFile::write(path, bytes)) {
                    const QMutexLocker lock(&failureLock);
                    if (!failed.exchange(true))
                        failedPath = path;
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
        return fail(context, QStringLiteral("cannot write \"") + failedPath + u'"', WriteFailed);
    return Success;
}

} // namespace quillet::batch
