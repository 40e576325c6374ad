#include "render/stateimages.h"

#include "platform/form/formruntime.h"
#include "render/samplepreview.h"
#include "ui/designerwindow.h"

namespace quillet::render {

using form::FormRuntime;
using output::OutputGroup;

StateImages::StateImages(ui::DesignerWindow &window, SamplePreview &preview)
    : m_window(window)
    , m_preview(preview)
{
}

void StateImages::take(const Sink &sink)
{
    auto &ui = m_window.controls();
    QByteArray capture;
    QString caption;

    const auto captureGroup = [&](OutputGroup group, std::initializer_list<form::Canvas *> canvases) {
        const form::Canvas *first = *canvases.begin();
        int index = 0;
        for (form::Canvas *canvas : canvases) {
            capture = FormRuntime::snapshot(FormRuntime::windowHandleOf(canvas), first->width(), first->height());
            sink({group, index++, capture, caption});
        }
    };

    if (ui.选择框1->isChecked()) {
        m_preview.composeButtonStates();
        caption = ui.样本按钮->text();
        captureGroup(OutputGroup::ButtonStates, {ui.画板1, ui.画板2, ui.画板3, ui.画板4});
    }
    if (ui.选择框2->isChecked()) {
        m_preview.composeComboButton();
        captureGroup(OutputGroup::ComboButton, {ui.画板5, ui.画板6, ui.画板7});
    }
    if (ui.选择框3->isChecked()) {
        m_preview.composeCheckBox();
        captureGroup(OutputGroup::CheckBox, {ui.画板8, ui.画板9, ui.画板10});
    }
    if (ui.选择框5->isChecked()) {
        capture = FormRuntime::snapshot(FormRuntime::windowHandleOf(&m_window), m_window.outerWidth(),
                                        m_window.outerHeight());
        sink({OutputGroup::WholeWindow, 0, capture, caption});
    }
    capture.clear();
}

} // namespace quillet::render
