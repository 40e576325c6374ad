#pragma once

#include "model/metrics.h"

namespace quillet::model {
struct AppState;
}

namespace quillet::render {

class SampleFace;

// The sizes that follow the button size and the options: the sample button and its state
// canvases, the border-removal option, the combo sample's height by font size, and the
// panels that follow the window and the sample button.
class SampleGeometry
{
public:
    // A sample side outside 1..kMaxButtonSide is not applied: the sample keeps its last size.
    // Nothing may get a negative size, and a capture of an absurd size must not be tried.
    static constexpr int kMaxButtonSide = model::Metrics::kMaxSide;
    static constexpr int kComboFontSizeCap = 22;

    SampleGeometry(model::AppState &state, SampleFace &face);

    static bool isApplicableSide(int side) { return side >= 1 && side <= kMaxButtonSide; }

    void applyButtonWidth();
    void applyButtonHeight();
    // Runs before the border box changes its mark, so it sizes for the opposite state.
    void applyBorderToggle();
    void applyComboFontSize(int size);
    void arrangePanels();

    // Height of the combo sample and its canvases for a font size; 0 when not listed.
    static int comboHeightForFontSize(int size);

private:
    void sizeButtonWidth(bool borderRemoval);
    void sizeButtonHeight(bool borderRemoval);

    model::AppState &m_state;
    SampleFace &m_face;
};

} // namespace quillet::render
