#include "pictures/kittokens.h"

#include "pictures/cssescape.h"
#include "skin/skin.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cmath>

namespace quillet::pictures::kittokens {

namespace {

// Four decimals: a colour channel comes back to its byte, a size to well under a device pixel.
qreal rounded(qreal value)
{
    return std::round(value * 10000) / 10000;
}

QString number(qreal value)
{
    return QString::number(rounded(value), 'g', 12);
}

QString darkGroup(const KitStyle &style)
{
    return style.prefix + QStringLiteral("-dark");
}

Value make(const TokenRow &row, QString name, QString description)
{
    Value value;
    value.token = row.token;
    value.name = std::move(name);
    value.kind = row.kind;
    value.description = std::move(description);
    return value;
}

qreal sizeOf(Token token, const KitStyle &style, const KitSkin &skin)
{
    switch (token) {
    case Token::Height:
        return style.height;
    case Token::CapLeft:
        return skin.slice.left;
    case Token::CapRight:
        return skin.slice.right;
    case Token::MinWidth:
        return skin.slice.minWidth;
    case Token::FontSize:
        return style.pointSize * 96 / 72;
    case Token::Radius:
        return skin.radius;
    default:
        return 0;
    }
}

QString cssValue(const Value &value)
{
    switch (value.kind) {
    case Kind::Colour:
        return value.colour.name();
    case Kind::Dimension:
        return number(value.number) + QStringLiteral("px");
    case Kind::FontFamily: {
        QStringList names;
        for (const QString &family : value.families)
            names.append(family == kGenericFamily ? family : cssescape::string(family));
        return names.join(QStringLiteral(", "));
    }
    }
    return {};
}

QJsonValue jsonValue(const Value &value)
{
    switch (value.kind) {
    case Kind::Colour: {
        const QColor rgb = value.colour.toRgb();
        return QJsonObject { { QStringLiteral("colorSpace"), QStringLiteral("srgb") },
            { QStringLiteral("components"),
                QJsonArray {
                    rounded(rgb.red() / 255.0), rounded(rgb.green() / 255.0), rounded(rgb.blue() / 255.0) } },
            { QStringLiteral("hex"), rgb.name() } };
    }
    case Kind::Dimension:
        return QJsonObject { { QStringLiteral("value"), rounded(value.number) },
            { QStringLiteral("unit"), QStringLiteral("px") } };
    case Kind::FontFamily:
        return QJsonArray::fromStringList(value.families);
    }
    return {};
}

QString typeName(Kind kind)
{
    switch (kind) {
    case Kind::Colour:
        return QStringLiteral("color");
    case Kind::Dimension:
        return QStringLiteral("dimension");
    case Kind::FontFamily:
        return QStringLiteral("fontFamily");
    }
    return {};
}

QJsonObject group(const KitStyle &style, const KitSkin &skin, const QString &name, bool shared)
{
    QJsonObject result { { QStringLiteral("$description"),
        QString(QStringLiteral("the skin ") + skin.name) } };
    for (const Value &value : values(style, skin, shared)) {
        QJsonObject token { { QStringLiteral("$type"), typeName(value.kind) },
            { QStringLiteral("$description"), value.description } };
        token.insert(QStringLiteral("$value"),
            value.follows.isEmpty() ? jsonValue(value)
                                    : QJsonValue(u'{' + name + u'.' + value.follows + u'}'));
        result.insert(value.name, token);
    }
    return result;
}

} // namespace

void readSkin(const skin::Skin &skin, int height, KitSkin *kit)
{
    kit->focus = skin.look(skin::Element::Button, skin::State::Focused).focus;
    const skin::Look &look = skin.look(skin::Element::Button, skin::State::Normal);
    // A picture's corners are in its pixels; the painter rounds at most the face's half height.
    const int face = height - look.margin.top() - look.margin.bottom();
    kit->radius = look.image.isEmpty() ? qBound(0, look.radius, face / 2) : 0;
}

QString captionName(int stateIndex)
{
    const QStringView caption = kTokens[0].name;
    return stateIndex == 0 ? caption.toString() : caption + u'-' + kitcss::kStateWords[size_t(stateIndex)];
}

QString property(const KitStyle &style, QStringView name)
{
    return QStringLiteral("--") + style.prefix + u'-' + name;
}

QString property(const KitStyle &style, Token token)
{
    for (const TokenRow &row : kTokens) {
        if (row.token == token)
            return property(style, row.name);
    }
    return {};
}

QString captionReference(const KitStyle &style, int stateIndex)
{
    const QString normal = QStringLiteral("var(") + property(style, captionName(0)) + u')';
    return stateIndex == 0 ? normal
                           : QStringLiteral("var(") + property(style, captionName(stateIndex))
            + QStringLiteral(", ") + normal + u')';
}

QList<Value> values(const KitStyle &style, const KitSkin &skin, bool shared)
{
    QList<Value> result;
    for (const TokenRow &row : kTokens) {
        if (!row.perSkin && !shared)
            continue;
        switch (row.token) {
        case Token::Caption:
            for (int state = 0; state < int(kitcss::kStateWords.size()); ++state) {
                if (!kitcss::drawsState(style, state) || state >= skin.captions.size())
                    continue;
                Value value = make(row, captionName(state),
                    row.description + QStringLiteral(", ") + kitcss::kStateWords[size_t(state)]
                        + QStringLiteral(" state"));
                value.colour = skin.captions[state].colour;
                // Compared as the style sheet writes them: opaque.
                if (state > 0 && value.colour.name() == skin.captions[0].colour.name())
                    value.follows = captionName(0);
                result.append(value);
            }
            break;
        case Token::Focus:
            if (skin.focus.isValid()) {
                result.append(make(row, row.name.toString(), row.description.toString()));
                result.last().colour = skin.focus;
            }
            break;
        case Token::Height:
        case Token::CapLeft:
        case Token::CapRight:
        case Token::MinWidth:
        case Token::FontSize:
        case Token::Radius: {
            const qreal size = sizeOf(row.token, style, skin);
            if (row.token == Token::Radius && size <= 0)
                break;
            result.append(make(row, row.name.toString(), row.description.toString()));
            result.last().number = size;
            break;
        }
        case Token::FontFamily: {
            result.append(make(row, row.name.toString(), row.description.toString()));
            QStringList &families = result.last().families;
            families.append(style.fontFamily);
            for (QStringView fallback : kFallbackFamilies)
                families.append(fallback.toString());
            break;
        }
        }
    }
    return result;
}

QString declarations(const KitStyle &style, const KitSkin &skin, bool dark, const QString &indent)
{
    QSet<QString> declared;
    QString css;
    for (const Value &value : values(style, skin, !dark)) {
        if (!value.follows.isEmpty())
            continue;
        declared.insert(value.name);
        css += indent + property(style, value.name) + QStringLiteral(": ") + cssValue(value)
            + QStringLiteral(";\n");
    }
    // What the light scheme sets and the dark skin does not have must not show through.
    if (dark) {
        for (const Value &value : values(style, style.light, false)) {
            if (value.follows.isEmpty() && !declared.contains(value.name))
                css += indent + property(style, value.name) + QStringLiteral(": initial;\n");
        }
    }
    return css;
}

QByteArray json(const KitStyle &style)
{
    QJsonObject root { { QStringLiteral("$description"),
        QString(QStringLiteral("Button kit from the skin ") + style.light.name
            + (style.dark ? QStringLiteral(" (dark: ") + style.dark->name + u')' : QString())
            + QStringLiteral(", the values of kit.css")) } };
    root.insert(style.prefix, group(style, style.light, style.prefix, true));
    if (style.dark)
        root.insert(darkGroup(style), group(style, *style.dark, darkGroup(style), false));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace quillet::pictures::kittokens
