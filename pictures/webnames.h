#pragma once

#include <QString>

namespace quillet::pictures {

// Names of the pictures and pages written beside the state pictures for the web. They
// are joined to a folder only through ExportNaming::fullPath, like every other name.
class WebNames
{
public:
    // "NAME@2x.EXT" for "NAME.EXT" at ratio 2, "NAME@1.5x.EXT" at 1.5; the name itself at ratio 1.
    static QString scaled(const QString &fileName, qreal ratio);
    // "NAME_sprite.png", or "NAME_sprite@2x.png" at ratio 2.
    static QString sprite(const QString &stem, qreal ratio);
    static QString css(const QString &stem);
    static QString html(const QString &stem);
};

} // namespace quillet::pictures
