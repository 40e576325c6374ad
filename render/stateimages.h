#pragma once

#include "output/exportnaming.h"

#include <QByteArray>

#include <functional>

namespace quillet::ui {
class DesignerWindow;
}

namespace quillet::render {

class SamplePreview;

// Takes the state images of one export, group by group in their fixed order: each group's
// composition runs right before its first capture, and every canvas of a group is captured
// whole at the size of the group's first canvas. Only one capture is alive at a time: each
// goes to the sink before the next is taken.
class StateImages
{
public:
    struct Image
    {
        output::OutputGroup group;
        int indexInGroup;
        const QByteArray &bmp;
        const QString &caption; // the sample button's caption after the group's composition
    };
    using Sink = std::function<void(const Image &)>;

    StateImages(ui::DesignerWindow &window, SamplePreview &preview);

    // The options are read from their check boxes now, not when the export began.
    void take(const Sink &sink);

private:
    ui::DesignerWindow &m_window;
    SamplePreview &m_preview;
};

} // namespace quillet::render
