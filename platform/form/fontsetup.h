#pragma once

#include <QString>

namespace quillet::form {

// The layout names "宋体" (SimSun). Map it to the crisp CJK bitmap face at the sizes it
// has and to an outline CJK face for the rest; without this the Latin letters would come
// from a serif face that looks wrong.
class FontSetup
{
public:
    // 9 points are 12 pixels at the 96 dpi the program fixes for fonts.
    static constexpr int kDefaultPointSize = 9;
    static void install();
    // The family's English name where it has one (宋体: SimSun), else the family as given.
    // Both names draw with the same faces.
    static QString englishName(const QString &family);
};

} // namespace quillet::form
