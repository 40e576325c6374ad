#pragma once

#include <QString>

namespace quillet::skin {
class SkinEngine;
}
namespace quillet::ui {
class DesignerControls;
class DesignerWindow;
}

namespace quillet::app {

struct AppState;
class PageThread;
class SkinSwitcher;

// The designer window's set-up, once its controls exist, and its wind-down before it goes.
class Lifecycle
{
public:
    static constexpr int kFirstPreviewDelay = 1000;

    struct Parts
    {
        AppState &state;
        ui::DesignerWindow &window;
        SkinSwitcher &skins;
        skin::SkinEngine &engine;
        ui::DesignerControls &controls;
        PageThread &pageThread;
    };

    explicit Lifecycle(const Parts &parts);

    void onCreated(const QString &programFolder);
    void onAboutToBeDestroyed(const QString &desktopFolder, const QString &executableName);

private:
    Parts m_parts;
};

} // namespace quillet::app
