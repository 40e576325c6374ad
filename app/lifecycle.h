#pragma once

#include "platform/system/languagechoice.h"

#include <QString>

namespace quillet::integration {
class PageThread;
}
namespace quillet::model {
struct AppState;
}
namespace quillet::output {
struct ExportState;
}
namespace quillet::skin {
class SkinEngine;
}
namespace quillet::ui {
class DesignerControls;
class DesignerWindow;
} // namespace quillet::ui

namespace quillet::app {

// The designer window's set-up, once its controls exist, and its wind-down before it goes.
class Lifecycle
{
public:
    struct Parts
    {
        model::AppState &state;
        output::ExportState &exportState;
        ui::DesignerWindow &window;
        skin::SkinEngine &engine;
        ui::DesignerControls &controls;
        integration::PageThread &pageThread;
    };

    explicit Lifecycle(const Parts &parts);

    void onCreated(const QString &programFolder, system::Language language);
    void onAboutToBeDestroyed(const QString &desktopFolder, const QString &executableName);

private:
    Parts m_parts;
};

} // namespace quillet::app
