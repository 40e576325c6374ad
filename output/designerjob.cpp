#include "output/designerjob.h"

#include "app/appstate.h"
#include "app/programpaths.h"
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
    // Each group is drawn at the size of its first canvas, as the capture takes it.
    job.dropSize = ui.画板5->size();
    job.comboHeight = ui.组合框1->height();
    job.comboFont = ui.组合框1->font();
    job.checkSize = ui.画板8->size();
    job.checkFont = ui.选择框4->font();
    const int format = ui.组合框6->currentIndex();
    job.format
        = format >= 0 && format <= int(PictureFormat::Png) ? PictureFormat(format) : PictureFormat::Png;
    job.ratios = state.webOptions.twoX ? QList<int> { 1, 2 } : QList<int> { 1 };
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
