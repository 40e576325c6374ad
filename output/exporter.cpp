#include "output/exporter.h"

#include "model/appstate.h"
#include "output/designerjob.h"
#include "pictures/exportnaming.h"
#include "pictures/picturebytes.h"
#include "pictures/pictureformat.h"
#include "pictures/webexport.h"
#include "platform/file/filewriter.h"
#include "render/buttonrenderer.h"
#include "output/outputfolder.h"
#include "platform/form/dialogs.h"
#include "platform/form/formruntime.h"
#include "image/imageconverter.h"
#include "render/stateimages.h"
#include "ui/designerwindow.h"

#include <QCoreApplication>

namespace quillet::output {

using pictures::ButtonJob;
using pictures::ExportImageName;
using pictures::ExportNaming;
using pictures::ExportOptions;
using pictures::OutputGroup;
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
        const int formatIndex = m_window.formatBox()->currentIndex();
        const QList<ExportImageName> names
            = ExportNaming::groupImages(image.group, image.caption, m_state.exportCounter, extension());
        if (image.indexInGroup >= names.size())
            return;
        const QString path = ExportNaming::fullPath(folder, names.at(image.indexInGroup).fileName);
        if (!path.isEmpty() && write(path, image.bmp, formatIndex) && m_written)
            m_written(path);
    });
}

void Exporter::exportRendered(const QString &folder)
{
    const ButtonJob job = DesignerJob::fromWindow(m_model, m_state.exportCounter, m_window);
    const render::ButtonRenderer renderer
        = render::ButtonRenderer::fromSkinFile(DesignerJob::currentSkinFile(m_model));
    for (const WebExport::File &file : WebExport::plan(job)) {
        const QString path = ExportNaming::fullPath(folder, file.name);
        if (path.isEmpty())
            continue;
        // The writer refuses a link of this name, which would carry the picture outside the folder.
        const QByteArray bytes = WebExport::produce(file, job, renderer);
        if (!bytes.isEmpty() && quillet::file::writeFile(path, bytes).ok() && m_written)
            m_written(path);
    }
    if (!m_window.outputGroupBox(OutputGroup::WholeWindow)->isChecked())
        return;
    const QList<ExportImageName> names = ExportNaming::groupImages(
        OutputGroup::WholeWindow, job.caption, m_state.exportCounter, pictures::PictureBytes::extension(job.format));
    const QString path = ExportNaming::fullPath(folder, names.first().fileName);
    const QByteArray capture = form::FormRuntime::snapshot(form::FormRuntime::windowHandleOf(&m_window),
                                                           m_window.outerWidth(), m_window.outerHeight());
    if (!path.isEmpty() && write(path, capture, int(job.format)) && m_written)
        m_written(path);
}

bool Exporter::write(const QString &path, const QByteArray &bmp, int formatIndex)
{
    using image::ImageConverter;
    using pictures::PictureFormat;
    const auto format = pictures::Formats::fromDesignerIndex(formatIndex);
    if (!format)
        return false;
    ImageConverter *converter = m_state.conversionImage.get();
    if (*format == PictureFormat::Bmp)
        return form::FormRuntime::writeFile(path, bmp);
    if (!converter || !converter->loadFromMemory(bmp, ImageConverter::kLoadBmp))
        return false;
    switch (*format) {
    case PictureFormat::Jpg:
        return converter->saveToFile(path, ImageConverter::Jpeg);
    case PictureFormat::Gif:
        if (converter->colorDepth() > ImageConverter::kReducedDepth)
            converter->convertColorDepth(ImageConverter::kReducedDepth, false);
        return converter->saveToFile(path, ImageConverter::Gif);
    case PictureFormat::Png:
        return converter->saveToFile(path, ImageConverter::Png);
    case PictureFormat::Bmp:
    case PictureFormat::Webp:
        break;
    }
    return false;
}

} // namespace quillet::output
