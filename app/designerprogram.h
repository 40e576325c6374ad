#pragma once

#include "model/appstate.h"
#include "platform/system/languagechoice.h"

#include <QString>

#include <memory>

namespace quillet::catalogue {
class SkinSwitcher;
}
namespace quillet::form {
class Dialogs;
}
namespace quillet::skin {
class SkinEngine;
}
namespace quillet::system {
class NetworkProbe;
}
namespace quillet::integration {
class InfoPanel;
class PageThread;
} // namespace quillet::integration
namespace quillet::output {
class Exporter;
}
namespace quillet::render {
class SampleGeometry;
class SamplePreview;
} // namespace quillet::render
namespace quillet::ui {
class DesignerControls;
class DesignerWindow;
class EventMap;
class IconMenu;
class SaveOptionsMenu;
} // namespace quillet::ui

namespace quillet::app {

class Lifecycle;

// One run of the designer: the application state, the designer window and the handlers of
// its event map, wired together. The outside services come in, so tests can answer them.
class DesignerProgram
{
public:
    struct Services
    {
        form::Dialogs &dialogs;
        system::NetworkProbe &network;
        QString programFolder;
        QString desktopFolder;
        QString executableName;
        system::Language language = system::Language::Chinese;
    };

    explicit DesignerProgram(const Services &services);
    ~DesignerProgram();
    DesignerProgram(const DesignerProgram &) = delete;
    DesignerProgram &operator=(const DesignerProgram &) = delete;

    // Runs the created handler, then shows the window.
    void start();
    // The exit clean-up's part: what the application state and the export hold.
    void releaseAtExit();

    model::AppState &state() { return m_state; }
    ui::DesignerWindow &window() { return *m_window; }
    render::SamplePreview &preview() { return *m_preview; }
    render::SampleGeometry &geometry() { return *m_geometry; }
    ui::DesignerControls &controls() { return *m_controls; }
    output::Exporter &exporter() { return *m_exporter; }
    integration::InfoPanel &infoPanel() { return *m_infoPanel; }
    ui::SaveOptionsMenu &saveOptions() { return *m_saveOptions; }
    ui::IconMenu &iconMenu() { return *m_iconMenu; }

private:
    void windDown();
    void openAbout();

    Services m_services;
    model::AppState m_state;
    std::unique_ptr<ui::DesignerWindow> m_window;
    std::unique_ptr<skin::SkinEngine> m_engine;
    std::unique_ptr<catalogue::SkinSwitcher> m_skins;
    std::unique_ptr<render::SampleGeometry> m_geometry;
    std::unique_ptr<render::SamplePreview> m_preview;
    std::unique_ptr<ui::DesignerControls> m_controls;
    std::unique_ptr<output::Exporter> m_exporter;
    std::unique_ptr<integration::InfoPanel> m_infoPanel;
    std::unique_ptr<integration::PageThread> m_pageThread;
    std::unique_ptr<Lifecycle> m_lifecycle;
    std::unique_ptr<ui::EventMap> m_eventMap;
    ui::SaveOptionsMenu *m_saveOptions = nullptr; // owned by the save button
    ui::IconMenu *m_iconMenu = nullptr; // owned by the caption box
};

} // namespace quillet::app
