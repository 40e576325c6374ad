#pragma once

namespace quillet::form {

// The form runtime puts a control into a state by hand (a synthetic button press on a
// combo box) without Qt's own press handling, which would open the popup. It marks the
// control with this dynamic bool property; the skin style paints such a combo box with
// its drop button pressed. Hover is Qt's own Qt::WA_UnderMouse, which the runtime sets.
inline constexpr char kPressedProperty[] = "quilletPressed";

} // namespace quillet::form
