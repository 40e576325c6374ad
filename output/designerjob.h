#pragma once

#include "pictures/buttonjob.h"

namespace quillet::model {
struct AppState;
}
namespace quillet::ui {
class DesignerWindow;
}

namespace quillet::output {

// The rendered export's job as the designer's controls describe it now.
class DesignerJob
{
public:
    static pictures::ButtonJob fromWindow(const model::AppState &state, int exportNumber, ui::DesignerWindow &window);
    // The skin file the designer shows, or an empty string when there is none.
    static QString currentSkinFile(const model::AppState &state);
};

} // namespace quillet::output
