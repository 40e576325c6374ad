#include "render/stateimages.h"

#include "platform/form/canvas.h"
#include "platform/form/formruntime.h"
#include "render/sampleface.h"
#include "render/samplepreview.h"

#include <QCheckBox>
#include <QPushButton>

namespace quillet::render {

using form::FormRuntime;
using model::OutputGroup;

StateImages::StateImages(SampleFace &face, SamplePreview &preview)
    : m_face(face)
    , m_preview(preview)
{
}

void StateImages::take(const Sink &sink)
{
    QByteArray capture;
    QString caption;

    const auto captureGroup = [&](OutputGroup group, const auto &canvases) {
        const form::Canvas *first = canvases.front();
        int index = 0;
        for (form::Canvas *canvas : canvases) {
            capture
                = FormRuntime::snapshot(FormRuntime::windowHandleOf(canvas), first->width(), first->height());
            sink({ group, index++, capture, caption });
        }
    };
    const auto ticked = [&](OutputGroup group) { return m_face.outputGroupBox(group)->isChecked(); };

    if (ticked(OutputGroup::ButtonStates)) {
        m_preview.composeButtonStates();
        caption = m_face.sampleButton()->text();
        captureGroup(OutputGroup::ButtonStates, m_face.buttonCanvases());
    }
    if (ticked(OutputGroup::ComboButton)) {
        m_preview.composeComboButton();
        captureGroup(OutputGroup::ComboButton, m_face.comboCanvases());
    }
    if (ticked(OutputGroup::CheckBox)) {
        m_preview.composeCheckBox();
        captureGroup(OutputGroup::CheckBox, m_face.checkCanvases());
    }
    if (ticked(OutputGroup::WholeWindow)) {
        capture = FormRuntime::snapshot(
            FormRuntime::windowHandleOf(m_face.wholeWindow()), m_face.outerWidth(), m_face.outerHeight());
        sink({ OutputGroup::WholeWindow, 0, capture, caption });
    }
    capture.clear();
}

} // namespace quillet::render
