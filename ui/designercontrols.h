#pragma once

#include "platform/system/languagechoice.h"

#include <QColor>
#include <QString>

namespace quillet::catalogue {
class SkinSwitcher;
}
namespace quillet::model {
struct AppState;
}
namespace quillet::form {
class Dialogs;
}
namespace quillet::render {
class SampleGeometry;
class SamplePreview;
} // namespace quillet::render

namespace quillet::ui {

class DesignerWindow;

// The handlers of the setting controls: button size, text, fonts, colour and the options
// echoed in the samples. The two mouse handlers of the check boxes run before the box
// toggles, so they act for the state the click is about to produce.
class DesignerControls
{
public:
    static constexpr double kTolerance = 1e-7;
    static constexpr double kMinTypedWidthExclusive = 31;
    static constexpr double kMinTypedHeightExclusive = 15;
    static constexpr double kMaxTypedHeightExclusive = 49;
    static constexpr int kMinSteppedHeight = 16;
    static constexpr int kMaxSteppedHeight = 48;
    static constexpr int kComboFontCancelled = -1;

    DesignerControls(model::AppState &state, DesignerWindow &window, form::Dialogs &dialogs,
        render::SampleGeometry &geometry, render::SamplePreview &preview, catalogue::SkinSwitcher &skins,
        system::Language language);

    // The current skin applied and its colour spread over the window.
    void applyCurrentSkin();
    // The user chose an item of the skin list.
    void skinChosen();
    // The skin in use changed on disk: its new look, every setting kept. A file that cannot
    // be read (or is empty, half saved) keeps the look there is.
    void reloadSkin();
    // The skins folder changed: the list follows and the selection stays on its skin.
    void refreshSkinList();

    void widthStep(int delta);
    void widthFromList();
    void widthTyped();
    void heightStep(int delta);
    void heightFromList();
    void heightTyped();
    void textBoxPressed();
    void textChanged();
    void chooseSampleFont();
    void chooseComboFont();
    void colourPicked();
    // The save button's menu: the accent asked for in the colour dialog (a cancelled dialog
    // keeps the one there is), or none; the skin is shown in it at once.
    void chooseAccent();
    void clearAccent();
    void borderBoxReleased();
    void comboOptionReleased();
    void checkOptionReleased();

    // Face name (its English one in English), a space and the size of the sample button's font.
    void showSampleFont();

private:
    void setAccent(const QColor &accent);

    model::AppState &m_state;
    DesignerWindow &m_window;
    form::Dialogs &m_dialogs;
    render::SampleGeometry &m_geometry;
    render::SamplePreview &m_preview;
    catalogue::SkinSwitcher &m_skins;
    system::Language m_language;
};

} // namespace quillet::ui
