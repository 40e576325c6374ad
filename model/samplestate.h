#pragma once

namespace quillet::model {

enum class SampleControl { PushButton, DropButton, CheckBox };
// Focused: the push button holding the keyboard focus, neither hot nor pressed; Default: the
// dialog's default push button, neither hot, pressed nor focused. The Checked... states are
// the check box's; Pressed, Hot and Disabled of a check box are unchecked.
enum class SampleState {
    Normal,
    Pressed,
    Hot,
    Disabled,
    Checked,
    Focused,
    CheckedHot,
    CheckedPressed,
    CheckedDisabled,
    Default
};

constexpr bool isChecked(SampleState state)
{
    switch (state) {
    case SampleState::Checked:
    case SampleState::CheckedHot:
    case SampleState::CheckedPressed:
    case SampleState::CheckedDisabled:
        return true;
    default:
        return false;
    }
}

constexpr bool isDisabled(SampleState state)
{
    return state == SampleState::Disabled || state == SampleState::CheckedDisabled;
}

} // namespace quillet::model
