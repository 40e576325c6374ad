#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace quillet::pictures {

// Output formats: the first four in the order of the designer's format list, then the
// formats only the command line offers.
enum class PictureFormat { Bmp = 0, Jpg = 1, Gif = 2, Png = 3, Webp = 4 };

// One row per format: everything the designer, the batch and the encoders need to know
// about a format is read from here.
struct FormatInfo
{
    PictureFormat format;
    QStringView name; // as typed after --format, without the dot
    QStringView extension; // with the dot
    bool keepsAlpha; // a see-through background survives
    bool inDesignerList; // an item of the designer's format list (its index is the format's)
};

inline constexpr std::array<FormatInfo, 5> kFormats { {
    { PictureFormat::Bmp, u"bmp", u".bmp", false, true },
    { PictureFormat::Jpg, u"jpg", u".jpg", false, true },
    { PictureFormat::Gif, u"gif", u".gif", true, true },
    { PictureFormat::Png, u"png", u".png", true, true },
    { PictureFormat::Webp, u"webp", u".webp", true, false },
} };

namespace Formats {

const FormatInfo &info(PictureFormat format);
// The format of a designer format-list index, none for an index outside the list.
std::optional<PictureFormat> fromDesignerIndex(int index);
// The format called so (with or without its dot, any case), none for anything else.
std::optional<PictureFormat> fromName(QStringView name);
// "png, gif, jpg, bmp, webp", for messages and usage texts.
QString names();

} // namespace Formats

} // namespace quillet::pictures
