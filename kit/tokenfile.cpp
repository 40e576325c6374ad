#include "kit/tokenfile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace quillet::kit::tokenfile {

namespace {

QJsonObject group(const Scheme &scheme, const QString &name)
{
    QJsonObject result { { QStringLiteral("$description"),
        QString(QStringLiteral("the skin ") + scheme.skin.name) } };
    for (const kittokens::Value &value : scheme.tokens) {
        QJsonObject token { { QStringLiteral("$type"), kittokens::typeName(value.kind) },
            { QStringLiteral("$description"), value.description } };
        token.insert(QStringLiteral("$value"),
            value.follows.isEmpty() ? kittokens::jsonValue(value)
                                    : QJsonValue(u'{' + name + u'.' + value.follows + u'}'));
        result.insert(value.name, token);
    }
    return result;
}

} // namespace

QByteArray json(const Model &model)
{
    const Scheme *dark = model.dark();
    QJsonObject root { { QStringLiteral("$description"),
        QString(QStringLiteral("Button kit from the skin ") + model.light().skin.name
            + (dark ? QStringLiteral(" (dark: ") + dark->skin.name + u')' : QString())
            + QStringLiteral(", the values of kit.css")) } };
    const QString prefix = model.prefix();
    root.insert(prefix, group(model.light(), prefix));
    if (dark) {
        const QString darkGroup = prefix + QStringLiteral("-dark");
        root.insert(darkGroup, group(*dark, darkGroup));
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace quillet::kit::tokenfile
