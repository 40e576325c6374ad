#pragma once

#include "pictures/kitcss.h"

#include <QString>

namespace quillet::pictures::kitpage {

// The kit's demo: buttons of several widths in every state, a disabled one, a link and a
// submit input, check boxes, and the HTML a user copies. The page takes the skin's base
// colour (the dark skin's under a dark colour scheme).
QString html(const KitStyle &style, const QString &cssFile);

} // namespace quillet::pictures::kitpage
