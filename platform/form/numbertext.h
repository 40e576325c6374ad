#pragma once

#include <QString>

namespace quillet::form {

// Number <-> text as the form runtime converts them.
class NumberText
{
public:
    // The leading decimal number of the text (blanks before it allowed, an optional sign,
    // digits, an optional fraction); any other text gives 0. No exponents, no hex.
    static double toNumber(const QString &text);
    static QString toText(qint64 value) { return QString::number(value); }
    // Truncates toward zero and clamps into [min, max], so absurd input cannot overflow.
    static qint64 truncated(double value, qint64 min, qint64 max);
};

} // namespace quillet::form
