#pragma once

#include <QString>
#include <QStringView>

namespace quillet::kit::classnames {

enum class Part { Button, Check, Icon };

// "qk-button": the class a page gives its element and the kit's rules select.
QString of(QStringView prefix, Part part);
// ".qk-button".
QString selector(QStringView prefix, Part part);

} // namespace quillet::kit::classnames
