#include "catalogue/skinswitcher.h"

#include "catalogue/programpaths.h"
#include "model/appstate.h"
#include "skin/skinengine.h"

namespace quillet::catalogue {

SkinSwitcher::SkinSwitcher(model::AppState &state, skin::SkinEngine &engine)
    : m_state(state)
    , m_engine(engine)
{
}

void SkinSwitcher::applyCurrentSkin(QWidget *window)
{
    const int count = int(m_state.skinFiles.size());
    if (count == 0) {
        // Nothing to apply: the plain look stays, and so must its colour, not the start value.
        m_state.backgroundColour = skin::SkinEngine::plainColour();
        m_current.clear();
        m_watcher.watch(ProgramPaths::skinsFolder(m_state.programFolder), m_current);
        return;
    }
    if (m_state.currentSkinIndex < 1 || m_state.currentSkinIndex > count)
        m_state.currentSkinIndex = 1;
    const QString path
        = ProgramPaths::skinFile(m_state.programFolder, m_state.skinFiles.at(m_state.currentSkinIndex - 1));
    m_engine.apply(path, window);
    m_state.backgroundColour = m_engine.colour();
    m_current = path;
    m_watcher.watch(ProgramPaths::skinsFolder(m_state.programFolder), m_current);
}

} // namespace quillet::catalogue
