#pragma once

#include "catalogue/skinwatcher.h"

#include <QColor>
#include <QString>

class QWidget;

namespace quillet::model {
struct AppState;
}
namespace quillet::skin {
class SkinEngine;
}

namespace quillet::catalogue {

// Applies the current skin of the skin list and takes its colour as the shared
// background colour.
class SkinSwitcher
{
public:
    SkinSwitcher(model::AppState &state, skin::SkinEngine &engine);

    // An index outside the list (nothing stored, skins removed since) designates the first
    // skin; with no skins at all nothing is applied and the plain look stays, and so does
    // its colour.
    void applyCurrentSkin(QWidget *window);
    // The file of the skin applied last, or an empty string.
    QString currentSkinFile() const { return m_current; }
    // Watches the skin applied last and the skins folder.
    SkinWatcher &watcher() { return m_watcher; }

private:
    model::AppState &m_state;
    skin::SkinEngine &m_engine;
    QString m_current;
    SkinWatcher m_watcher;
};

} // namespace quillet::catalogue
