#include "output/webnames.h"

namespace quillet::output {

QString WebNames::scaled(const QString &fileName, int ratio)
{
    if (ratio == 1)
        return fileName;
    const QString marker = u'@' + QString::number(ratio) + u'x';
    const qsizetype dot = fileName.lastIndexOf(u'.');
    // A name without an extension, or one that is only an extension, gets the mark at the end.
    if (dot <= 0)
        return fileName + marker;
    return fileName.left(dot) + marker + fileName.mid(dot);
}

QString WebNames::sprite(const QString &stem, int ratio)
{
    return scaled(stem + QStringLiteral("_sprite.png"), ratio);
}

QString WebNames::css(const QString &stem)
{
    return stem + QStringLiteral(".css");
}

QString WebNames::html(const QString &stem)
{
    return stem + QStringLiteral(".html");
}

} // namespace quillet::output
