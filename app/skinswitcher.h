#pragma once

#include <QColor>

namespace quillet::skin {
class SkinEngine;
}
namespace quillet::ui {
class DesignerWindow;
}

namespace quillet::app {

struct AppState;

// Applies the current skin and spreads the shared background colour.
class SkinSwitcher
{
public:
    static constexpr int kPreviewDelayAfterChoice = 500;

    SkinSwitcher(AppState &state, ui::DesignerWindow &window, skin::SkinEngine &engine);

    // An index outside the list (nothing stored, skins removed since) designates the first
    // skin; with no skins at all nothing is applied and the plain look stays.
    void applyCurrentSkin();
    // The user chose an item of the skin list.
    void onSkinSelected();
    // Window, labels 1 to 16 and the colour canvas; the picker too unless it is the source.
    void spreadBackgroundColour(bool includingPicker);

private:
    AppState &m_state;
    ui::DesignerWindow &m_window;
    skin::SkinEngine &m_engine;
};

} // namespace quillet::app
