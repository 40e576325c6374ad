#include "render/samplepreview.h"

#include "app/appstate.h"
#include "platform/form/formruntime.h"
#include "platform/form/intervaltimer.h"
#include "ui/designerwindow.h"

#include <QElapsedTimer>

namespace quillet::render {

using form::FormRuntime;

namespace {
constexpr double kTolerance = 1e-7;
constexpr double kNanosecondsPerMillisecond = 1e6;
}

SamplePreview::SamplePreview(app::AppState &state, ui::DesignerWindow &window)
    : m_state(state)
    , m_window(window)
{
}

void SamplePreview::waitWithEvents(int milliseconds)
{
    // Whole-millisecond ticks can end the wait up to a millisecond early; the capture after
    // it relies on the full pause, so the time passed is measured finer.
    QElapsedTimer clock;
    clock.start();
    while (double(milliseconds) - double(clock.nsecsElapsed()) / kNanosecondsPerMillisecond > kTolerance) {
        FormRuntime::processEvents();
        FormRuntime::delay(1);
    }
}

void SamplePreview::captureInto(QWidget *control, form::Canvas *canvas)
{
    const QByteArray picture = FormRuntime::snapshot(FormRuntime::windowHandleOf(control), control->width(),
                                                     control->height());
    FormRuntime::setBackgroundPicture(canvas, picture);
}

void SamplePreview::captureButtonTrimmed(form::Canvas *target)
{
    auto &ui = m_window.controls();
    captureInto(ui.样本按钮, ui.源画板);
    FormRuntime::canvasCopy(ui.源画板, 1, 1, ui.画板1->width(), ui.画板1->height(), target, 0, 0);
}

void SamplePreview::composeButtonStates()
{
    auto &ui = m_window.controls();
    QPushButton *sample = ui.样本按钮;
    ui.源画板->resize(sample->width(), sample->height());

    if (ui.选择框7->isChecked()) {
        waitWithEvents(kSettleMilliseconds);
        captureButtonTrimmed(ui.画板1);
        FormRuntime::sendWindowMessage(sample, FormRuntime::LeftButtonDown, 0, 0);
        captureButtonTrimmed(ui.画板2);
        FormRuntime::sendWindowMessage(sample, FormRuntime::LeftButtonUp, 0, 0);
        captureButtonTrimmed(ui.画板3);
        FormRuntime::setEnabled(sample, false);
        captureButtonTrimmed(ui.画板4);
        FormRuntime::setEnabled(sample, true);
    } else {
        captureInto(sample, ui.画板1);
        FormRuntime::sendWindowMessage(sample, FormRuntime::LeftButtonDown, 0, 0);
        captureInto(sample, ui.画板2);
        FormRuntime::sendWindowMessage(sample, FormRuntime::LeftButtonUp, 0, 0);
        captureInto(sample, ui.画板3);
        FormRuntime::setEnabled(sample, false);
        captureInto(sample, ui.画板4);
        FormRuntime::setEnabled(sample, true);
    }
    FormRuntime::giveFocus(ui.保存图片按钮);
}

int SamplePreview::comboButtonWidth() const
{
    const QComboBox *widths = m_window.controls().组合框4;
    return FormRuntime::itemValue(widths, widths->currentIndex());
}

void SamplePreview::composeComboButton()
{
    auto &ui = m_window.controls();
    QComboBox *combo = ui.组合框1;
    ui.源画板->resize(kScratchWidth, kScratchHeight);
    for (form::Canvas *canvas : {ui.画板5, ui.画板6, ui.画板7})
        canvas->resize(comboButtonWidth(), canvas->height());
    FormRuntime::setEnabled(combo, true);

    const auto copyDropButton = [&](form::Canvas *target) {
        FormRuntime::canvasCopy(ui.源画板, kDropButtonLeft, 0, comboButtonWidth(), combo->height(), target, 0, 0);
    };
    captureInto(combo, ui.源画板);
    waitWithEvents(kSettleMilliseconds);
    copyDropButton(ui.画板5);

    FormRuntime::sendWindowMessage(combo, FormRuntime::LeftButtonDown, 0, 0);
    captureInto(combo, ui.源画板);
    waitWithEvents(kSettleMilliseconds);
    copyDropButton(ui.画板6);

    FormRuntime::sendWindowMessage(combo, FormRuntime::LeftButtonUp, 0, 0);
    FormRuntime::setEnabled(combo, false);
    captureInto(combo, ui.源画板);
    waitWithEvents(kSettleMilliseconds);
    copyDropButton(ui.画板7);
}

void SamplePreview::composeCheckBox()
{
    auto &ui = m_window.controls();
    QCheckBox *box = ui.选择框4;
    const QComboBox *sizes = ui.组合框5;
    const int side = FormRuntime::itemValue(sizes, sizes->currentIndex());
    ui.源画板->resize(kScratchWidth, kScratchHeight);
    box->resize(side, box->height());
    box->resize(side, side);
    for (form::Canvas *canvas : {ui.画板8, ui.画板9, ui.画板10}) {
        canvas->resize(side, canvas->height());
        canvas->resize(side, side);
    }

    box->setChecked(false);
    captureInto(box, ui.源画板);
    waitWithEvents(kSettleMilliseconds);
    FormRuntime::canvasCopy(ui.源画板, 0, 0, side, side, ui.画板8, 0, 0);

    box->setChecked(true);
    captureInto(box, ui.源画板);
    box->setChecked(false);
    waitWithEvents(kSettleMilliseconds);
    FormRuntime::canvasCopy(ui.源画板, 0, 0, side, side, ui.画板9, 0, 0);

    FormRuntime::setEnabled(box, false);
    captureInto(box, ui.源画板);
    waitWithEvents(kSettleMilliseconds);
    FormRuntime::canvasCopy(ui.源画板, 0, 0, side, side, ui.画板10, 0, 0);
    FormRuntime::setEnabled(box, true);
}

void SamplePreview::composePreview()
{
    composeButtonStates();
    composeComboButton();
    composeCheckBox();
}

void SamplePreview::onPreviewTimerTick()
{
    if (!m_state.firstPreviewDone) {
        m_window.setOuterWidth(kFirstPreviewWindowWidth);
        m_state.firstPreviewDone = true;
    }
    composePreview();
    m_window.时钟1()->setInterval(0);
}

} // namespace quillet::render
