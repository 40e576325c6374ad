#pragma once

#include "pictures/pictureformat.h"

#include <QString>
#include <QStringView>

namespace quillet::kit::webfiles {

// The folder the pictures lie in, beside kit.css.
inline constexpr QStringView kFolder = u"kit";
inline constexpr QStringView kStyleSheet = u"kit.css";
inline constexpr QStringView kPage = u"kit.html";
inline constexpr QStringView kTokens = u"kit.tokens.json";
// A push button's pieces, in the order of KitPieces.
inline constexpr QStringView kParts[] = { u"left", u"middle", u"right" };

// "kit/button-normal-left.png", "kit/dark-button-hover-middle-2x.webp": ASCII letters,
// digits, "-", "." and one "/", the same for the same kit on every run.
QString pieceName(
    bool dark, QStringView state, QStringView part, qreal ratio, pictures::PictureFormat format);
QString checkName(bool dark, QStringView state, qreal ratio, pictures::PictureFormat format);
// "kit/kit.png", "kit/kit-2x.webp": every piece of one density and format.
QString sheetName(qreal ratio, pictures::PictureFormat format);

} // namespace quillet::kit::webfiles
