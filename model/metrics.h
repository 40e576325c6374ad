#pragma once

namespace quillet::model {

// Sizes and intervals that the window layout, the compositions, the window-free renderer,
// the pictures, the batch command and the tests must agree on: one place for each.
struct Metrics
{
    // The sample button as the layout draws it, and every picture job's default.
    static constexpr int kButtonWidth = 104;
    static constexpr int kButtonHeight = 24;
    // The designer's drop button and check box pictures when nothing else is chosen.
    static constexpr int kDropWidth = 16;
    static constexpr int kDropHeight = 20;
    static constexpr int kComboHeight = 32;
    static constexpr int kCheckSide = 13;
    // The combo sample is this wide; its drop button picture is copied from this column on.
    static constexpr int kComboSampleWidth = 46;
    static constexpr int kDropButtonLeft = 29;
    // Border removal draws the push button this much larger and cuts half of it off each side.
    static constexpr int kBorderAllowance = 2;
    // Largest logical side any picture is drawn at.
    static constexpr int kMaxSide = 16384;

    static constexpr int kFirstPreviewDelayMs = 1000;
    static constexpr int kPreviewDelayAfterChoiceMs = 500;
    static constexpr int kInfoTimerIntervalMs = 6000;
};

} // namespace quillet::model
