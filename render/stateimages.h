#pragma once

#include "model/outputgroup.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace quillet::render {

class SampleFace;
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
        model::OutputGroup group;
        int indexInGroup;
        const QByteArray &bmp;
        const QString &caption; // the sample button's caption after the group's composition
    };
    using Sink = std::function<void(const Image &)>;

    StateImages(SampleFace &face, SamplePreview &preview);

    // The options are read from their check boxes now, not when the export began.
    void take(const Sink &sink);

private:
    SampleFace &m_face;
    SamplePreview &m_preview;
};

} // namespace quillet::render
