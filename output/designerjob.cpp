#include "output/designerjob.h"

#include "app/appstate.h"
#include "app/programpaths.h"
#include "platform/form/formruntime.h"
#include "ui/designerwindow.h"

namespace quillet::output {

ButtonJob DesignerJob::fromWindow(const app::AppState &state, ui::DesignerWindow &window)
{
    auto &ui = window.controls();
    ButtonJob job;
    job.caption = ui.样本按钮->text();
    // The state canvases have the size the captures are taken at.
    job.buttonSize = ui.画板1->size();
    job.font = ui.样本按钮->font();
    job.borderRemoval = ui.选择框7->isChecked();
    job.button = ui.选择框1->isChecked();
    job.combo = ui.选择框2->isChecked();
    job.check = ui.选择框3->isChecked();
    job.dropSize = QSize(form::FormRuntime::itemValue(ui.组合框4, ui.组合框4->currentIndex()), ui.组合框1->height());
    job.comboFont = ui.组合框1->font();
    job.checkSide = form::FormRuntime::itemValue(ui.组合框5, ui.组合框5->currentIndex());
    const int format = ui.组合框6->currentIndex();
    job.format = format >= 0 && format <= int(PictureFormat::Png) ? PictureFormat(format) : PictureFormat::Png;
    job.ratios = state.webOptions.twoX ? QList<int> {1, 2} : QList<int> {1};
    job.transparent = state.webOptions.transparent;
    job.sprite = state.webOptions.sprite;
    job.background = state.backgroundColour;
    job.exportNumber = state.exportCounter;
    return job;
}

QString DesignerJob::currentSkinFile(const app::AppState &state)
{
    const int index = state.currentSkinIndex;
    if (index < 1 || index > state.skinFiles.size())
        return {};
    return app::ProgramPaths::skinFile(state.programFolder, state.skinFiles.at(index - 1));
}

} // namespace quillet::output
