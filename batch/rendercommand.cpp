#include "batch/rendercommand.h"

#include "batch/entryvalues.h"
#include "batch/manifest.h"
#include "batch/progressbar.h"
#include "batch/renderoptions.h"
#include "catalogue/programpaths.h"
#include "catalogue/skincatalogue.h"
#include "pictures/picturewriter.h"
#include "pictures/webexport.h"
#include "render/accentedskin.h"
#include "render/buttonrenderer.h"
#include "platform/system/inputfile.h"
#include "skin/skinparser.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

#include <list>
#include <optional>
#include <map>

namespace quillet::batch {

namespace {

using pictures::PlannedFile;

constexpr QStringView kCommand = u"quillet render: ";

int fail(const RenderCommand::Context &context, const QString &message, int code = RenderCommand::BadInput)
{
    return batch::fail(context.err, kCommand, message, code);
}

// The answers that write nothing; none for a render.
std::optional<int> answerAction(const RenderOptions &options, const RenderCommand::Context &context)
{
    switch (options.action) {
    case RenderOptions::Action::Help:
        context.out << RenderOptions::usage();
        break;
    case RenderOptions::Action::Version:
        context.out << "quillet " << QStringLiteral(QUILLET_VERSION) << u'\n';
        break;
    case RenderOptions::Action::ListSkins:
        for (const QString &name : RenderCommand::skinNames(context.programFolder))
            context.out << name << u'\n';
        break;
    case RenderOptions::Action::Render:
        return std::nullopt;
    }
    context.out.flush();
    return RenderCommand::Success;
}

// A manifest of a million buttons is a few megabytes; anything larger is no manifest.
constexpr qint64 kMaxManifestBytes = 16 * 1024 * 1024;

// The entries of the command line or its manifest; empty with the reason in error.
QList<RenderEntry> readEntries(const RenderOptions &options, QString *error)
{
    if (options.manifestPath.isEmpty())
        return { options.entry };
    QString why;
    const std::optional<QByteArray> bytes = system::readInput(options.manifestPath, kMaxManifestBytes, &why);
    if (!bytes) {
        *error = QStringLiteral("--manifest: cannot read \"") + options.manifestPath + QStringLiteral("\": ") + why;
        return {};
    }
    return Manifest::read(*bytes, options.entry, error, QFileInfo(options.manifestPath).absolutePath());
}

// A skin's file and the pictures in the folder of its name beside it.
QStringList skinInputs(const QString &skinPath)
{
    QStringList paths { skinPath };
    const QFileInfo info(skinPath);
    QDirIterator pictures(info.path() + u'/' + info.completeBaseName(), QDir::Files, QDirIterator::Subdirectories);
    while (pictures.hasNext())
        paths.append(pictures.next());
    return paths;
}

pictures::ButtonJob jobFor(const RenderEntry &entry, const QString &caption)
{
    QFont font;
    EntryValues::parseFont(entry.font, &font);
    pictures::ButtonJob job;
    job.caption = caption;
    job.buttonSize = QSize(entry.width, entry.height);
    job.font = font;
    job.borderRemoval = entry.borderRemoval;
    job.button = entry.button;
    job.combo = entry.combo;
    job.check = entry.check;
    // The combo and the check box keep the designer's own font.
    job.comboFont = QApplication::font();
    job.checkFont = QApplication::font();
    job.format = entry.format;
    job.ratios = entry.ratios;
    job.transparent = entry.transparent;
    job.sprite = entry.sprite;
    job.focus = entry.focus;
    job.everyCheckState = entry.checkStates;
    job.icon = entry.icon;
    job.nameTemplate = entry.nameTemplate;
    return job;
}

// Every file of every entry, drawn by one renderer per skin; the jobs and renderers the
// files draw from live as long as the plan.
class Plan
{
public:
    explicit Plan(const QString &programFolder)
        : m_programFolder(programFolder)
        , m_skinFiles(batch::skinFiles(programFolder))
    {
    }

    // Empty, or why an entry cannot be drawn.
    QString add(const RenderEntry &entry)
    {
        const QString skinFile = catalogue::SkinCatalogue::fileNamed(entry.skin, m_skinFiles);
        if (skinFile.isEmpty())
            return entry.origin + QStringLiteral(": unknown skin \"") + entry.skin
                + QStringLiteral("\" (see --list-skins)");
        // One renderer per skin and accent: entries of a manifest may differ in either.
        const QString key = entry.accent.isValid() ? skinFile + u'\n' + entry.accent.name() : skinFile;
        auto renderer = m_renderers.find(key);
        if (renderer == m_renderers.end()) {
            const QString skinPath = catalogue::ProgramPaths::skinFile(m_programFolder, skinFile);
            const skin::Skin skin
                = render::accent::accented(skin::SkinParser::parseFile(skinPath), entry.accent, &m_notes);
            if (!m_inputs.contains(skinPath))
                m_inputs += skinInputs(skinPath);
            renderer = m_renderers.emplace(key, render::ButtonRenderer(skin)).first;
            m_backgrounds.insert(key, skin.base());
        }
        if (!entry.icon.isNull())
            m_inputs.append(entry.icon.file);
        for (const QString &caption : entry.captions) {
            pictures::ButtonJob &job = m_jobs.emplace_back(jobFor(entry, caption));
            job.background = m_backgrounds.value(key);
            job.exportNumber = int(m_jobs.size());
            job.skinName = catalogue::SkinCatalogue::displayName(skinFile);
            const QList<pictures::WebExport::File> planned = pictures::WebExport::plan(job);
            if (planned.isEmpty())
                return entry.origin + QStringLiteral(": --name \"") + job.nameTemplate
                    + QStringLiteral("\" gives a name outside --out for \"") + caption + u'"';
            for (const pictures::WebExport::File &file : planned)
                m_files.append(plannedFile(file, job, renderer->second, entry.origin));
        }
        return {};
    }

    const QList<PlannedFile> &files() const { return m_files; }
    // Captions, marks and focus rings an accent changed, one line each.
    const QStringList &notes() const { return m_notes; }
    // What the files are drawn from: nothing of it may be written over.
    const QStringList &inputs() const { return m_inputs; }

private:
    static PlannedFile plannedFile(const pictures::WebExport::File &file, const pictures::ButtonJob &job,
        const render::ButtonRenderer &renderer, const QString &origin)
    {
        return { file.name, origin,
            [file, &job, &renderer] { return pictures::WebExport::draw(file, job, renderer); },
            [file, &job](const QImage &drawn) { return pictures::WebExport::encode(file, job, drawn); } };
    }

    QString m_programFolder;
    QStringList m_skinFiles;
    std::map<QString, render::ButtonRenderer> m_renderers;
    QHash<QString, QColor> m_backgrounds;
    std::list<pictures::ButtonJob> m_jobs;
    QList<PlannedFile> m_files;
    QStringList m_inputs;
    QStringList m_notes;
};

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
    if (const std::optional<int> answered = answerAction(options, context))
        return *answered;

    QString error;
    const QList<RenderEntry> entries = readEntries(options, &error);
    if (entries.isEmpty())
        return fail(context, error);
    if (const QString problem = outFolderProblem(options.out); !problem.isEmpty())
        return fail(context, problem);

    // Everything is checked before the first file is written.
    Plan plan(context.programFolder);
    for (const RenderEntry &entry : entries) {
        if (const QString problem = plan.add(entry); !problem.isEmpty())
            return fail(context, problem);
    }
    pictures::PictureWriter writer(options.out);
    writer.addInputs(plan.inputs() + QStringList { options.manifestPath });
    if (const QString problem = writer.problem(plan.files()); !problem.isEmpty())
        return fail(context, problem);

    for (const QString &note : plan.notes())
        context.err << kCommand << printable(note) << u'\n';
    context.err.flush();
    ProgressBar progress(context.err, int(plan.files().size()), context.errorIsTerminal);
    pictures::WriterOptions writing = writerOptions();
    writing.progress = [&progress](int done) { progress.show(done); };
    const pictures::WriteReport report = writer.write(plan.files(), writing);
    progress.finish();
    return reportWriting(context, kCommand, report);
}

} // namespace quillet::batch
