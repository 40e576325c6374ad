#pragma once

namespace quillet::model {
struct AppState;
}
namespace quillet::form {
class Canvas;
}
class QWidget;

namespace quillet::render {

class SampleFace;

// Drives the three sample controls through their states and photographs each state onto
// its state canvas.
class SamplePreview
{
public:
    static constexpr int kSettleMilliseconds = 10;
    static constexpr int kScratchWidth = 64;
    static constexpr int kScratchHeight = 48;
    static constexpr int kFirstPreviewWindowWidth = 798;

    SamplePreview(model::AppState &state, SampleFace &face);

    // Lets pending events run until n milliseconds have passed, sleeping 1 ms per turn.
    static void waitWithEvents(int milliseconds);

    void composeButtonStates();
    void composeComboButton();
    void composeCheckBox();
    void composePreview();
    void onPreviewTimerTick();

private:
    void captureInto(QWidget *control, form::Canvas *canvas);
    void captureButtonTrimmed(form::Canvas *target);
    int comboButtonWidth() const;

    model::AppState &m_state;
    SampleFace &m_face;
};

} // namespace quillet::render
