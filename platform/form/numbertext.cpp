#include "platform/form/numbertext.h"

#include <cmath>

namespace quillet::form {

double NumberText::toNumber(const QString &text)
{
    qsizetype at = 0;
    const qsizetype end = text.size();
    while (at < end && (text[at] == u' ' || text[at] == u'\t'))
        ++at;
    QString number;
    if (at < end && (text[at] == u'-' || text[at] == u'+'))
        number += text[at++];
    bool digits = false;
    while (at < end && text[at] >= u'0' && text[at] <= u'9') {
        number += text[at++];
        digits = true;
    }
    if (at < end && text[at] == u'.') {
        number += text[at++];
        while (at < end && text[at] >= u'0' && text[at] <= u'9') {
            number += text[at++];
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

qint64 NumberText::truncated(double value, qint64 min, qint64 max)
{
    if (std::isnan(value))
        return 0;
    const double whole = std::trunc(value);
    if (whole <= double(min))
        return min;
    if (whole >= double(max))
        return max;
    return static_cast<qint64>(whole);
}

} // namespace quillet::form
