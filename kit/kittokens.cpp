#include "kit/kittokens.h"

#include "kit/cssescape.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace quillet::kit::kittokens {

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

Value make(const TokenRow &row, QString name, QString description)
{
    Value value;
    value.token = row.token;
    value.name = std::move(name);
    value.kind = row.kind;
    value.description = std::move(description);
    return value;
}

qreal sizeOf(Token token, const Request &request, const KitSkin &skin)
{
    switch (token) {
    case Token::Height:
        return request.height;
    case Token::CapLeft:
        return skin.slice.left;
    case Token::CapRight:
        return skin.slice.right;
    case Token::MinWidth:
        // A web cap's backing stays under the middle, clear of the other cap.
        return qMax(skin.slice.minWidth, skin.slice.left + skin.slice.right + kitpieces::kBacking);
    case Token::FontSize:
        return request.font.pointSizeF() * 96 / 72;
    case Token::Radius:
        return skin.radius;
    default:
        return 0;
    }
}

// Each drawn state's caption; one of the normal caption's colour follows it.
void addCaptions(const TokenRow &row, const Request &request, const KitSkin &skin, QList<Value> &result)
{
    for (const StateRow &state : kitpieces::kButtonRows) {
        const qsizetype index = state.cascade;
        if (!requests::draws(request, state) || index >= skin.captions.size())
            continue;
        Value value = make(row, captionName(state),
            row.description + QStringLiteral(", ") + state.word + QStringLiteral(" state"));
        value.colour = skin.captions[index].colour;
        // Compared as the style sheet writes them: opaque.
        if (index > 0 && value.colour.name() == skin.captions[0].colour.name())
            value.follows = captionName(kitpieces::kButtonRows[0]);
        result.append(value);
    }
}

} // namespace

QString captionName(const StateRow &row)
{
    const QStringView caption = kTokens[0].name;
    return row.cascade == 0 ? caption.toString() : caption + u'-' + row.word;
}

QString property(QStringView prefix, QStringView name)
{
    return QStringLiteral("--") + prefix + u'-' + name;
}

QString property(QStringView prefix, Token token)
{
    for (const TokenRow &row : kTokens) {
        if (row.token == token)
            return property(prefix, row.name);
    }
    return {};
}

QString captionReference(QStringView prefix, const StateRow &row)
{
    const QString normal
        = QStringLiteral("var(") + property(prefix, captionName(kitpieces::kButtonRows[0])) + u')';
    return row.cascade == 0
        ? normal
        : QStringLiteral("var(") + property(prefix, captionName(row)) + QStringLiteral(", ") + normal + u')';
}

bool perSkin(Token token)
{
    for (const TokenRow &row : kTokens) {
        if (row.token == token)
            return row.perSkin;
    }
    return false;
}

QList<Value> values(const Request &request, const KitSkin &skin, bool shared)
{
    QList<Value> result;
    for (const TokenRow &row : kTokens) {
        if (!row.perSkin && !shared)
            continue;
        switch (row.token) {
        case Token::Caption:
            addCaptions(row, request, skin, result);
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
            const qreal size = sizeOf(row.token, request, skin);
            if (row.token == Token::Radius && size <= 0)
                break;
            result.append(make(row, row.name.toString(), row.description.toString()));
            result.last().number = size;
            break;
        }
        case Token::FontFamily: {
            result.append(make(row, row.name.toString(), row.description.toString()));
            QStringList &families = result.last().families;
            families.append(request.font.family());
            for (QStringView fallback : kFallbackFamilies)
                families.append(fallback.toString());
            break;
        }
        }
    }
    return result;
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

} // namespace quillet::kit::kittokens
