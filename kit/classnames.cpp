#include "kit/classnames.h"

namespace quillet::kit::classnames {

QString of(QStringView prefix, Part part)
{
    switch (part) {
    case Part::Check:
        return prefix + QStringLiteral("-check");
    case Part::Icon:
        return prefix + QStringLiteral("-icon");
    case Part::Button:
        break;
    }
    return prefix + QStringLiteral("-button");
}

QString selector(QStringView prefix, Part part)
{
    return u'.' + of(prefix, part);
}

} // namespace quillet::kit::classnames
