#pragma once

#include <QString>

namespace quillet::system {

// Whether the window system Qt is about to use can be reached, asked before the
// application object exists: Qt itself aborts the process when it cannot connect.
namespace DisplayProbe {

// Empty when a window can be shown, else why not, in one short clause.
QString unavailableReason();

} // namespace DisplayProbe

} // namespace quillet::system
