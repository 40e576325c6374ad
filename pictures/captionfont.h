#pragma once

#include <QFont>

namespace quillet::pictures {

// The caption face for a picture drawn at a device-pixel ratio. A bitmap face has no
// glyphs at other sizes; at any ratio but 1 it is replaced by the scalable CJK face at
// the same point size, which matches it in build and metrics.
class CaptionFont
{
public:
    static constexpr QStringView kScalableFace = u"WenQuanYi Zen Hei";
    static QFont forRatio(const QFont &font, qreal ratio);
    // Whether the face the font resolves to is a bitmap face.
    static bool resolvesToBitmap(const QFont &font);
};

} // namespace quillet::pictures
