#include "output/designerjob.h"

#include "catalogue/programpaths.h"
#include "model/appstate.h"
#include "ui/designerwindow.h"

namespace quillet::output {

using pictures::ButtonJob;
using pictures::PictureFormat;

ButtonJob DesignerJob::fromWindow(const model::AppState &state, int exportNumber, ui::DesignerWindow &window)
{
    using model::OutputGroup;
    ButtonJob job;
    job.caption = window.sampleButton()->text();
    // The state canvases have the size the captures are taken at.
    job.buttonSize = window.buttonCanvases().front()->size();
    job.font = window.sampleButton()->font();
    job.borderRemoval = window.borderRemovalBox()->isChecked();
    job.icon = state.icon;
    job.button = window.outputGroupBox(OutputGroup::ButtonStates)->isChecked();
    job.combo = window.outputGroupBox(OutputGroup::ComboButton)->isChecked();
    job.check = window.outputGroupBox(OutputGroup::CheckBox)->isChecked();
    // Each group is drawn at the size of its first canvas, as the capture takes it.
    job.dropSize = window.comboCanvases().front()->size();
    job.comboHeight = window.comboSample()->height();
    job.comboFont = window.comboSample()->font();
    job.checkSize = window.checkCanvases().front()->size();
    job.checkFont = window.checkSample()->font();
    job.format = pictures::Formats::fromDesignerIndex(window.formatBox()->currentIndex()).value_or(PictureFormat::Png);
    job.ratios = state.webOptions.twoX ? QList<qreal>{1, 2} : QList<qreal>{1};
    job.transparent = state.webOptions.transparent;
    job.sprite = state.webOptions.sprite;
    job.focus = state.webOptions.focus;
    job.background = state.backgroundColour;
    job.exportNumber = exportNumber;
    return job;
}

QString DesignerJob::currentSkinFile(const model::AppState &state)
{
    const int index = state.currentSkinIndex;
    if (index < 1 || index > state.skinFiles.size())
        return {};
    return catalogue::ProgramPaths::skinFile(state.programFolder, state.skinFiles.at(index - 1));
}

} // namespace quillet::output
