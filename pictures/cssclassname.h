#pragma once

#include <QString>

namespace quillet::pictures {

// A CSS class name for any caption. Letters, digits, "-" and the non-ASCII characters
// CSS identifiers accept stay as they are (a Chinese caption keeps its characters);
// "_" is doubled and anything else is written as "_u<hex>_", so different captions give
// different names. The fixed prefix keeps the name non-empty and away from a leading
// digit or hyphen.
class CssClassName
{
public:
    static constexpr QStringView kPrefix = u"qb-";
    static QString fromCaption(const QString &caption);
    // True for a code point that may stand as it is inside an identifier.
    static bool isIdentifierCodePoint(char32_t c);
};

} // namespace quillet::pictures
