#pragma once

#include "kit/kitskin.h"
#include "kit/request.h"

#include <QByteArray>
#include <QColor>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace quillet::kit::kittokens {

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

// The name of a state's caption token: "caption" for the normal state, "caption-hover"...
QString captionName(const StateRow &row);
// "--qk-caption-hover".
QString property(QStringView prefix, QStringView name);
QString property(QStringView prefix, Token token);
// What a rule writes for a state's caption: its own property, falling back to the normal
// caption where the scheme leaves it unset.
QString captionReference(QStringView prefix, const StateRow &row);
// Whether a token is the skin's own (the dark skin sets its own) rather than the request's.
bool perSkin(Token token);

// The tokens of one scheme: the light one with the shared tokens, the dark one (`shared`
// false) with only those its skin sets.
QList<Value> values(const Request &request, const KitSkin &skin, bool shared);
// A token's value as a style sheet writes it.
QString cssValue(const Value &value);
// A token's value in the token file: a colour or dimension object, or the font stack.
QJsonValue jsonValue(const Value &value);
// The token file's $type of a kind.
QString typeName(Kind kind);

} // namespace quillet::kit::kittokens
