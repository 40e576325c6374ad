#pragma once

namespace quillet::model {

// Sizes and intervals that the window layout, the compositions and the window-free
// renderer must agree on.
struct SampleMetrics
{
    // The combo sample is this wide; its drop button picture is copied from this column on.
    static constexpr int kComboSampleWidth = 46;
    static constexpr int kDropButtonLeft = 29;
    // Border removal draws the push button this much larger and cuts half of it off each side.
    static constexpr int kBorderAllowance = 2;

    static constexpr int kFirstPreviewDelayMs = 1000;
    static constexpr int kPreviewDelayAfterChoiceMs = 500;
    static constexpr int kInfoTimerIntervalMs = 6000;
};

} // namespace quillet::model
