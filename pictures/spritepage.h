#pragma once

#include <QString>

namespace quillet::pictures {

// A small page that shows a sprite button working: one live button and one disabled.
class SpritePage
{
public:
    static QString html(const QString &caption, const QString &className, const QString &cssFile);
};

} // namespace quillet::pictures
