#include "pictures/webnames.h"

namespace quillet::pictures {

QString WebNames::scaled(const QString &fileName, qreal ratio)
{
    if (ratio == 1)
        return fileName;
    const QString marker = u'@' + QString::number(ratio) + u'x';
    // A name in a subfolder: the mark goes into the last part's name, never a folder's.
    const qsizetype slash = fileName.lastIndexOf(u'/');
    const qsizetype dot = fileName.lastIndexOf(u'.') > slash ? fileName.lastIndexOf(u'.') : -1;
    // A name without an extension, or one that is only an extension, gets the mark at the end.
    if (dot <= slash + 1)
        return fileName + marker;
    return fileName.left(dot) + marker + fileName.mid(dot);
}

QString WebNames::sprite(const QString &stem, qreal ratio)
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

} // namespace quillet::pictures
