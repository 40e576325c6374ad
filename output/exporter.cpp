#include "output/exporter.h"

#include "model/appstate.h"
#include "output/designerjob.h"
#include "output/kitexport.h"
#include "pictures/exportnaming.h"
#include "pictures/picturebytes.h"
#include "pictures/pictureformat.h"
#include "pictures/webexport.h"
#include "pictures/picturewriter.h"
#include "render/buttonrenderer.h"
#include "output/outputfolder.h"
#include "platform/form/dialogs.h"
#include "platform/form/formruntime.h"
#include "render/stateimages.h"
#include "ui/designerwindow.h"

#include <QCoreApplication>

namespace quillet::output {

using pictures::ButtonJob;
using pictures::ExportImageName;
using pictures::ExportNaming;
using pictures::ExportOptions;
using pictures::OutputGroup;
using pictures::PlannedFile;
using pictures::WebExport;

namespace {
// The constants are the Chinese sources; a person reads them in the windows' language.
QString shown(const QString &source)
{
    return QCoreApplication::translate("Exporter", source.toUtf8().constData());
}
} // namespace

const QString Exporter::kConfirmCaption
    = QString::fromUtf8(QT_TRANSLATE_NOOP("Exporter", "确定保存下述文件?"));
const QString Exporter::kFolderTitle
    = QString::fromUtf8(QT_TRANSLATE_NOOP("Exporter", "请选择图片保存的目录！"));

Exporter::Exporter(const model::AppState &model, ui::DesignerWindow &window, form::Dialogs &dialogs,
                   render::SamplePreview &preview, std::function<QString()> desktopFolder)
    : m_model(model)
    , m_window(window)
    , m_dialogs(dialogs)
    , m_preview(preview)
    , m_desktopFolder(std::move(desktopFolder))
{
}

void Exporter::exportImages()
{
    const auto extension = [&] {
        const int index = m_window.formatBox()->currentIndex();
        return index >= 0 && index < m_state.extensionTable.size() ? m_state.extensionTable.at(index) : QString();
    };

    ++m_state.exportCounter;
    const auto ticked = [&](OutputGroup group) { return m_window.outputGroupBox(group)->isChecked(); };
    const ExportOptions listed{ticked(OutputGroup::ButtonStates), ticked(OutputGroup::ComboButton),
                               ticked(OutputGroup::CheckBox), ticked(OutputGroup::WholeWindow)};
    QString list = ExportNaming::confirmationText(listed, m_window.sampleButton()->text(), m_state.exportCounter,
                                                  extension());
    if (m_model.webOptions.any()) {
        // The extra files are listed too: nothing is written that was not shown.
        QStringList extra;
        for (const WebExport::File &file :
             WebExport::plan(DesignerJob::fromWindow(m_model, m_state.exportCounter, m_window))) {
            if (file.kind != WebExport::Kind::State || file.ratio != 1)
                extra.append(file.name);
        }
        if (!extra.isEmpty()) {
            if (!list.isEmpty() && !list.endsWith(u"\r\n"))
                list += u"\r\n";
            list += extra.join(u"   ") + u"\r\n";
        }
    }
    if (!m_dialogs.confirm(&m_window, list, shown(kConfirmCaption))) {
        --m_state.exportCounter;
        return;
    }

    const QString folder = OutputFolder::BrowseForFolder(
        m_dialogs, m_state.browse, &m_window, m_desktopFolder(), shown(kFolderTitle));
    if (folder.isEmpty())
        return;

    if (m_model.webOptions.any()) {
        exportRendered(folder);
        return;
    }

    render::StateImages images(m_window, m_preview);
    images.take([&](const render::StateImages::Image &image) {
        const QList<ExportImageName> names
            = ExportNaming::groupImages(image.group, image.caption, m_state.exportCounter, extension());
        const auto format = pictures::Formats::fromDesignerIndex(m_window.formatBox()->currentIndex());
        if (image.indexInGroup >= names.size() || !format)
            return;
        // Each capture is written as it is taken: only one is alive at a time.
        const QByteArray &bmp = image.bmp;
        write(folder,
            { PlannedFile { names.at(image.indexInGroup).fileName, {}, {},
                [&bmp, format = *format](const QImage &) { return pictures::PictureBytes::fromBmp(bmp, format); } } });
    });
}

void Exporter::exportKit(const QString &target)
{
    QString problem;
    const QList<PlannedFile> files
        = kitexport::plan(m_model, m_window.sampleButton()->font(), target, &problem);
    if (files.isEmpty())
        return;
    const QString folder = OutputFolder::BrowseForFolder(
        m_dialogs, m_state.browse, &m_window, m_desktopFolder(), shown(kFolderTitle));
    if (folder.isEmpty())
        return;
    pictures::PictureWriter writer(folder);
    if (!writer.problem(files).isEmpty())
        return;
    // Stops at the first failure; the style sheet comes last, so it never names a piece not written.
    pictures::WriterOptions options;
    options.createFolder = false;
    options.workers = 0;
    const pictures::WriteReport report = writer.write(files, options);
    if (!m_written)
        return;
    for (const QString &name : report.names)
        m_written(ExportNaming::fullPath(folder, name));
}

void Exporter::exportRendered(const QString &folder)
{
    const ButtonJob job = DesignerJob::fromWindow(m_model, m_state.exportCounter, m_window);
    const render::ButtonRenderer renderer
        = render::ButtonRenderer::fromSkinFile(DesignerJob::currentSkinFile(m_model), m_model.accent);
    QList<PlannedFile> files;
    for (const WebExport::File &file : WebExport::plan(job)) {
        files.append({ file.name, {}, [&, file] { return WebExport::draw(file, job, renderer); },
            [&, file](const QImage &drawn) { return WebExport::encode(file, job, drawn); } });
    }
    if (m_window.outputGroupBox(OutputGroup::WholeWindow)->isChecked()) {
        const QList<ExportImageName> names = ExportNaming::groupImages(OutputGroup::WholeWindow, job.caption,
            m_state.exportCounter, pictures::PictureBytes::extension(job.format));
        const QByteArray capture = form::FormRuntime::snapshot(form::FormRuntime::windowHandleOf(&m_window),
            m_window.outerWidth(), m_window.outerHeight());
        files.append({ names.first().fileName, {}, {},
            [capture, format = job.format](const QImage &) { return pictures::PictureBytes::fromBmp(capture, format); } });
    }
    write(folder, files);
}

// What the designer cannot write is skipped: a name no file can have, a link of that name,
// a full disk. Files are written one by one, each made durable before the next.
void Exporter::write(const QString &folder, const QList<PlannedFile> &files)
{
    QList<PlannedFile> writable;
    for (const PlannedFile &file : files) {
        if (!ExportNaming::fullPath(folder, file.name).isEmpty())
            writable.append(file);
    }
    pictures::WriterOptions options;
    options.createFolder = false;
    options.skipUnchanged = false;
    options.syncAtEnd = false;
    options.stopAtFirstFailure = false;
    options.workers = 0;
    const pictures::WriteReport report = pictures::PictureWriter(folder).write(writable, options);
    if (!m_written)
        return;
    for (const QString &name : report.names)
        m_written(ExportNaming::fullPath(folder, name));
}

} // namespace quillet::output
