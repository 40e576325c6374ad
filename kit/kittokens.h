#pragma once

#include "pictures/kitcss.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace quillet::skin {
class Skin;
}

namespace quillet::pictures::kittokens {

enum class Kind { Colour, Dimension, FontFamily };

// Every value a kit names, once: the token file's names and the style sheet's custom
// properties (--{prefix}-{name}) both come from here, so the two cannot name a value apart.
enum class Token { Caption, Focus, Height, CapLeft, CapRight, MinWidth, FontFamily, FontSize, Radius };
struct TokenRow
{
    Token token;
    QStringView name;
    Kind kind;
    // Set by the skin, so the dark skin has its own; the others follow the command line.
    bool perSkin;
    QStringView description;
};
inline constexpr TokenRow kTokens[] = {
    { Token::Caption, u"caption", Kind::Colour, true, u"caption colour" },
    { Token::Focus, u"focus", Kind::Colour, true, u"focus ring colour of the skin" },
    { Token::Height, u"height", Kind::Dimension, false, u"button height" },
    { Token::CapLeft, u"cap-left", Kind::Dimension, true, u"width of the left cap piece" },
    { Token::CapRight, u"cap-right", Kind::Dimension, true, u"width of the right cap piece" },
    { Token::MinWidth, u"min-width", Kind::Dimension, true, u"narrowest width the pieces make" },
    { Token::FontFamily, u"font-family", Kind::FontFamily, false, u"caption font stack" },
    { Token::FontSize, u"font-size", Kind::Dimension, false, u"caption font size" },
    { Token::Radius, u"radius", Kind::Dimension, true, u"corner radius the skin draws" },
};

// The families after the chosen one, for pages on machines without it.
inline constexpr QStringView kFallbackFamilies[]
    = { u"SimSun", u"WenQuanYi Bitmap Song", u"Noto Sans CJK SC", u"sans-serif" };
// The last fallback is a generic family: a keyword, never quoted.
inline constexpr QStringView kGenericFamily = u"sans-serif";

// One token of one colour scheme. A state caption of the same colour as the normal one
// follows it (`follows` names that token) rather than holding a copy, so that retinting the
// normal caption retints it too.
struct Value
{
    Token token;
    QString name; // "caption-hover", without the prefix
    Kind kind;
    QColor colour;
    qreal number = 0; // CSS pixels
    QStringList families;
    QString follows;
    QString description;
};

// What the tokens take from a skin besides what the style sheet does: its focus colour
// and, for a drawn face (not a picture), its corner radius at the kit's height.
void readSkin(const skin::Skin &skin, int height, KitSkin *kit);

// The name of a state's caption token: "caption" for the normal state, "caption-hover"...
QString captionName(int stateIndex);
// "--qk-caption-hover".
QString property(const KitStyle &style, QStringView name);
QString property(const KitStyle &style, Token token);
// What a rule writes for a state's caption: its own property, falling back to the normal
// caption where the scheme leaves it unset.
QString captionReference(const KitStyle &style, int stateIndex);

// The tokens of one scheme: the light one with the shared tokens, the dark one (`shared`
// false) with only those its skin sets.
QList<Value> values(const KitStyle &style, const KitSkin &skin, bool shared);
// The custom properties of one scheme as declarations, one a line after `indent`. A state
// caption that follows the normal one is left unset, or reset with `initial` in the dark
// scheme where the light one sets it, so that it falls back in the rules.
QString declarations(const KitStyle &style, const KitSkin &skin, bool dark, const QString &indent);
// kit.tokens.json.
QByteArray json(const KitStyle &style);

} // namespace quillet::pictures::kittokens
