#pragma once

#include "output/exportstate.h"
#include "pictures/picturewriter.h"

#include <QString>

#include <functional>

namespace quillet::model {
struct AppState;
}
namespace quillet::form {
class Dialogs;
}
namespace quillet::render {
class SamplePreview;
}
namespace quillet::ui {
class DesignerWindow;
}

namespace quillet::output {

// The save command: list the files, ask for confirmation and a folder, then take each
// state image and write it at once in the chosen format. Nothing is reported at the end;
// an image that cannot be written, or whose name could not be written as listed, is skipped.
// With the save button's output options all off, the files are exactly the captures.
class Exporter
{
public:
    static const QString kConfirmCaption;
    static const QString kFolderTitle;

    // The button's shared settings come in for the pictures the renderer draws.
    Exporter(const model::AppState &model, ui::DesignerWindow &window, form::Dialogs &dialogs,
             render::SamplePreview &preview,
             std::function<QString()> desktopFolder);

    ExportState &state() { return m_state; }

    void exportImages();
    // The save menu's kits: asks for a folder and writes there the kit `quillet kit
    // --target TARGET` would write for what the window shows. Written whole or, on a
    // failure, not at all.
    void exportKit(const QString &target);
    // Told the full path of every file written, in writing order.
    void setWriteObserver(std::function<void(const QString &path)> observer) { m_written = std::move(observer); }

private:
    // With output options on: the sample controls' pictures come from the renderer, as the
    // render command draws them; the whole window is still a capture.
    void exportRendered(const QString &folder);
    void write(const QString &folder, const QList<pictures::PlannedFile> &files);

    const model::AppState &m_model;
    ExportState m_state;
    ui::DesignerWindow &m_window;
    form::Dialogs &m_dialogs;
    render::SamplePreview &m_preview;
    std::function<QString()> m_desktopFolder;
    std::function<void(const QString &)> m_written;
};

} // namespace quillet::output
