#pragma once

#include <QColor>

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

private:
    model::AppState &m_state;
    skin::SkinEngine &m_engine;
};

} // namespace quillet::catalogue
