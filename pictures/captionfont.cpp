#include "pictures/captionfont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace quillet::pictures {

bool CaptionFont::resolvesToBitmap(const QFont &font)
{
    const QFontInfo info(font);
    return !QFontDatabase::isSmoothlyScalable(info.family(), info.styleName());
}

QFont CaptionFont::forRatio(const QFont &font, qreal ratio)
{
    if (ratio == 1.0 || !resolvesToBitmap(font))
        return font;
    QFont scalable(font);
    scalable.setFamilies(QStringList { kScalableFace.toString() });
    return scalable;
}

} // namespace quillet::pictures
