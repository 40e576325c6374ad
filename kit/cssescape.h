#pragma once

#include <QString>
#include <QStringView>

namespace quillet::kit::cssescape {

// Text as a quoted CSS string that a parser reads back as exactly that text: quotes and
// backslashes escaped, control characters as hex escapes ("\a " for a line feed), NUL as
// U+FFFD, which is what a parser would make of it anyway.
QString string(QStringView text);
// Text that stays inside a /* */ comment: every "*/" is broken up.
QString comment(QStringView text);

} // namespace quillet::kit::cssescape
