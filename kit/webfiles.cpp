#include "kit/webfiles.h"

namespace quillet::kit::webfiles {

namespace {

namespace Formats = pictures::Formats;

QString ratioWord(qreal ratio)
{
    return ratio == 1 ? QString() : u'-' + QString::number(ratio) + u'x';
}

QString darkWord(bool dark)
{
    return dark ? QStringLiteral("dark-") : QString();
}

} // namespace

QString pieceName(bool dark, QStringView state, QStringView part, qreal ratio, pictures::PictureFormat format)
{
    return kFolder + u'/' + darkWord(dark) + QStringLiteral("button-") + state + u'-' + part
        + ratioWord(ratio) + Formats::info(format).extension;
}

QString checkName(bool dark, QStringView state, qreal ratio, pictures::PictureFormat format)
{
    return kFolder + u'/' + darkWord(dark) + QStringLiteral("check-") + state + ratioWord(ratio)
        + Formats::info(format).extension;
}

QString sheetName(qreal ratio, pictures::PictureFormat format)
{
    return kFolder + QStringLiteral("/kit") + ratioWord(ratio) + Formats::info(format).extension;
}

} // namespace quillet::kit::webfiles
