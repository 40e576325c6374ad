#include "app/skinswitcher.h"

#include "app/appstate.h"
#include "app/programpaths.h"
#include "platform/form/intervaltimer.h"
#include "platform/skin/skinengine.h"
#include "ui/designerwindow.h"

namespace quillet::app {

namespace {
void setLabelBackground(QWidget *label, const QColor &colour)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, colour);
    label->setPalette(pal);
    label->setAutoFillBackground(true);
}
} // namespace

SkinSwitcher::SkinSwitcher(AppState &state, ui::DesignerWindow &window, skin::SkinEngine &engine)
    : m_state(state)
    , m_window(window)
    , m_engine(engine)
{
}

void SkinSwitcher::applyCurrentSkin()
{
    const int count = int(m_state.skinFiles.size());
    if (count == 0) {
        // Nothing to apply: the plain look stays, and so must its colour, not the start value.
        m_state.backgroundColour = skin::SkinEngine::plainColour();
        spreadBackgroundColour(true);
        return;
    }
    if (m_state.currentSkinIndex < 1 || m_state.currentSkinIndex > count)
        m_state.currentSkinIndex = 1;
    const QString path
        = ProgramPaths::skinFile(m_state.programFolder, m_state.skinFiles.at(m_state.currentSkinIndex - 1));
    m_engine.apply(path, &m_window);
    m_state.backgroundColour = m_engine.colour();
    spreadBackgroundColour(true);
}

void SkinSwitcher::onSkinSelected()
{
    QListWidget *list = m_window.controls().列表框1;
    if (list->count() == 0 || list->currentRow() < 0)
        return;
    m_state.currentSkinIndex = list->currentRow() + 1;
    applyCurrentSkin();
    m_window.时钟1()->setInterval(kPreviewDelayAfterChoice);
}

void SkinSwitcher::spreadBackgroundColour(bool includingPicker)
{
    const QColor colour = m_state.backgroundColour;
    auto &ui = m_window.controls();
    m_window.setBackgroundColour(colour);
    for (QLabel *label : {ui.标签1, ui.标签2, ui.标签3, ui.标签4, ui.标签5, ui.标签6, ui.标签7, ui.标签8, ui.标签9,
                          ui.标签10, ui.标签11, ui.标签12, ui.标签13, ui.标签14, ui.标签15, ui.标签16})
        setLabelBackground(label, colour);
    ui.画板a->setBackgroundColour(colour);
    if (includingPicker)
        ui.颜色选择器1->setColour(colour);
}

} // namespace quillet::app
