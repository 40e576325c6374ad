#pragma once

namespace quillet::model {

// The four output groups, in the order their images are taken and listed.
enum class OutputGroup { ButtonStates, ComboButton, CheckBox, WholeWindow };

} // namespace quillet::model
