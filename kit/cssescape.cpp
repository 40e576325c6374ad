#include "kit/cssescape.h"

namespace quillet::kit::cssescape {

QString string(QStringView text)
{
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += u'"';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0)
            quoted += QChar(QChar::ReplacementCharacter);
        else if (u < 0x20 || u == 0x7f)
            // The space ends the escape, so a hex digit after it stays a character.
            quoted += u'\\' + QString::number(u, 16) + u' ';
        else if (u == u'"' || u == u'\\')
            quoted += u'\\' + c;
        else
            quoted += c;
    }
    quoted += u'"';
    return quoted;
}

QString comment(QStringView text)
{
    QString safe = text.toString();
    safe.replace(QStringLiteral("*/"), QStringLiteral("* /"));
    return safe;
}

} // namespace quillet::kit::cssescape
