#pragma once

#include "kit/model.h"

#include <QString>

namespace quillet::kit::kitpage {

// The kit's demo: buttons of several widths in every state, a disabled one, a link and a
// submit input, check boxes, and the HTML a user copies. The page takes the skin's base
// colour (the dark skin's under a dark colour scheme).
QString html(const Model &model, const QString &cssFile);

} // namespace quillet::kit::kitpage
