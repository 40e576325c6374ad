#pragma once

#include <functional>

namespace quillet::render {
class SampleGeometry;
class SamplePreview;
}

namespace quillet::ui {

class DesignerControls;
class DesignerWindow;

// Every event the program handles on the designer window, wired to its handler.
class EventMap
{
public:
    struct Handlers
    {
        DesignerWindow &window;
        DesignerControls &controls;
        render::SampleGeometry &geometry;
        render::SamplePreview &preview;
        std::function<void()> windDown;
        std::function<void()> exportImages = {};
        std::function<void()> openAbout = {};
        std::function<void()> helpPressed = {};
        std::function<void()> infoTick = {};
    };

    explicit EventMap(const Handlers &handlers);
};

} // namespace quillet::ui
