#include "render/samplepreview.h"

#include "model/appstate.h"
#include "model/metrics.h"
#include "platform/form/canvas.h"
#include "platform/form/formruntime.h"
#include "platform/form/intervaltimer.h"
#include "render/sampleface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>

namespace quillet::render {

using form::FormRuntime;
using model::Metrics;

namespace {
constexpr double kTolerance = 1e-7;
constexpr double kNanosecondsPerMillisecond = 1e6;
}

SamplePreview::SamplePreview(model::AppState &state, SampleFace &face)
    : m_state(state)
    , m_face(face)
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
    form::Canvas *scratch = m_face.scratchCanvas();
    const form::Canvas *normal = m_face.buttonCanvases().front();
    const int inset = Metrics::kBorderAllowance / 2;
    captureInto(m_face.sampleButton(), scratch);
    FormRuntime::canvasCopy(scratch, inset, inset, normal->width(), normal->height(), target, 0, 0);
}

void SamplePreview::composeButtonStates()
{
    QPushButton *sample = m_face.sampleButton();
    const auto [normal, pressed, hot, disabled] = m_face.buttonCanvases();
    m_face.scratchCanvas()->resize(sample->width(), sample->height());

    const bool trimmed = m_face.borderRemovalBox()->isChecked();
    const auto capture = [&](form::Canvas *target) {
        if (trimmed)
            captureButtonTrimmed(target);
        else
            captureInto(sample, target);
    };
    if (trimmed)
        waitWithEvents(kSettleMilliseconds);
    capture(normal);
    FormRuntime::sendWindowMessage(sample, FormRuntime::LeftButtonDown, 0, 0);
    capture(pressed);
    FormRuntime::sendWindowMessage(sample, FormRuntime::LeftButtonUp, 0, 0);
    capture(hot);
    FormRuntime::setEnabled(sample, false);
    capture(disabled);
    FormRuntime::setEnabled(sample, true);
    FormRuntime::giveFocus(m_face.saveButton());
}

int SamplePreview::comboButtonWidth() const
{
    const QComboBox *widths = m_face.dropWidthBox();
    return FormRuntime::itemValue(widths, widths->currentIndex());
}

void SamplePreview::composeComboButton()
{
    QComboBox *combo = m_face.comboSample();
    form::Canvas *scratch = m_face.scratchCanvas();
    const auto [normal, pressed, disabled] = m_face.comboCanvases();
    scratch->resize(kScratchWidth, kScratchHeight);
    for (form::Canvas *canvas : m_face.comboCanvases())
        canvas->resize(comboButtonWidth(), canvas->height());
    FormRuntime::setEnabled(combo, true);

    const auto captureDropButton = [&](form::Canvas *target) {
        captureInto(combo, scratch);
        waitWithEvents(kSettleMilliseconds);
        FormRuntime::canvasCopy(scratch, Metrics::kDropButtonLeft, 0, comboButtonWidth(), combo->height(),
                                target, 0, 0);
    };
    captureDropButton(normal);
    FormRuntime::sendWindowMessage(combo, FormRuntime::LeftButtonDown, 0, 0);
    captureDropButton(pressed);
    FormRuntime::sendWindowMessage(combo, FormRuntime::LeftButtonUp, 0, 0);
    FormRuntime::setEnabled(combo, false);
    captureDropButton(disabled);
}

void SamplePreview::composeCheckBox()
{
    QCheckBox *box = m_face.checkSample();
    form::Canvas *scratch = m_face.scratchCanvas();
    const QComboBox *sizes = m_face.checkSideBox();
    const auto [normal, checked, disabled] = m_face.checkCanvases();
    const int side = FormRuntime::itemValue(sizes, sizes->currentIndex());
    scratch->resize(kScratchWidth, kScratchHeight);
    box->resize(side, box->height());
    box->resize(side, side);
    for (form::Canvas *canvas : m_face.checkCanvases()) {
        canvas->resize(side, canvas->height());
        canvas->resize(side, side);
    }
    const auto copyCapture = [&](form::Canvas *target) {
        waitWithEvents(kSettleMilliseconds);
        FormRuntime::canvasCopy(scratch, 0, 0, side, side, target, 0, 0);
    };

    box->setChecked(false);
    captureInto(box, scratch);
    copyCapture(normal);

    box->setChecked(true);
    captureInto(box, scratch);
    box->setChecked(false);
    copyCapture(checked);

    FormRuntime::setEnabled(box, false);
    captureInto(box, scratch);
    copyCapture(disabled);
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
        m_face.setOuterWidth(kFirstPreviewWindowWidth);
        m_state.firstPreviewDone = true;
    }
    composePreview();
    m_face.previewTimer()->setInterval(0);
}

} // namespace quillet::render
