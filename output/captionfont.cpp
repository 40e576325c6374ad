#include "output/captionfont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace quillet::output {

bool CaptionFont::resolvesToBitmap(const QFont &font)
{
    const QFontInfo info(font);
    return !QFontDatabase::isSmoothlyScalable(info.family(), info.styleName());
}

QFont CaptionFont::forRatio(const QFont &font, int ratio)
{
    if (ratio <= 1 || !resolvesToBitmap(font))
        return font;
    QFont scalable(font);
    scalable.setFamilies(QStringList { kScalableFace.toString() });
    return scalable;
}

} // namespace quillet::output
