#include "pictures/pictureformat.h"

#include <QStringList>

namespace quillet::pictures::Formats {

const FormatInfo &info(PictureFormat format)
{
    for (const FormatInfo &row : kFormats) {
        if (row.format == format)
            return row;
    }
    return kFormats.front();
}

std::optional<PictureFormat> fromDesignerIndex(int index)
{
    for (const FormatInfo &row : kFormats) {
        if (row.inDesignerList && int(row.format) == index)
            return row.format;
    }
    return std::nullopt;
}

std::optional<PictureFormat> fromName(QStringView name)
{
    const QStringView bare = name.startsWith(u'.') ? name.mid(1) : name;
    for (const FormatInfo &row : kFormats) {
        if (bare.compare(row.name, Qt::CaseInsensitive) == 0)
            return row.format;
    }
    return std::nullopt;
}

QString names()
{
    QStringList list;
    for (const FormatInfo &row : kFormats)
        list.append(row.name.toString());
    return list.join(QStringLiteral(", "));
}

} // namespace quillet::pictures::Formats
