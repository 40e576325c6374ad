#include "batch/manifest.h"

#include "batch/entryvalues.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace quillet::batch {

namespace {

// A string, a number or an array of them as the comma list the options take.
bool listText(const QJsonValue &value, QString *text)
{
    const auto one = [](const QJsonValue &v, QString *out) {
        if (v.isString()) {
            *out = v.toString();
            return true;
        }
        if (v.isDouble() && v.toDouble() == double(v.toInt())) {
            *out = QString::number(v.toInt());
            return true;
        }
        return false;
    };
    if (!value.isArray())
        return one(value, text);
    QStringList parts;
    for (const QJsonValue &item : value.toArray()) {
        QString part;
        if (!one(item, &part))
            return false;
        parts.append(part);
    }
    *text = parts.join(u',');
    return !parts.isEmpty();
}

QString readEntry(const QJsonObject &object, RenderEntry &entry)
{
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QString key = it.key();
        const QJsonValue value = it.value();
        const QString option = QStringLiteral("--") + key;
        const QString wrongType = u'"' + key + QStringLiteral("\" has a value of the wrong type");
        QString text;
        QString problem;
        if (key == u"skin" || key == u"font" || key == u"format") {
            if (!value.isString())
                return wrongType;
            text = value.toString();
            if (key == u"skin")
                entry.skin = text;
            else if (key == u"font")
                problem = EntryValues::setFont(text, entry);
            else
                problem = EntryValues::setFormat(text, entry);
        } else if (key == u"text") {
            entry.captions.clear();
            if (value.isString()) {
                entry.captions.append(value.toString());
            } else if (value.isArray()) {
                for (const QJsonValue &item : value.toArray()) {
                    if (!item.isString())
                        return wrongType;
                    entry.captions.append(item.toString());
                }
            } else {
                return wrongType;
            }
        } else if (key == u"width" || key == u"height") {
            if (!value.isDouble() || value.toDouble() != double(value.toInt()))
                return u'"' + key + QStringLiteral("\" is not a whole number");
            problem = EntryValues::setSide(
                option, QString::number(value.toInt()), key == u"width" ? &entry.width : &entry.height);
        } else if (key == u"controls" || key == u"scale") {
            if (!listText(value, &text))
                return wrongType;
            problem = key == u"controls" ? EntryValues::setControls(text, entry)
                                         : EntryValues::setScale(text, entry);
        } else if (key == u"border-removal" || key == u"transparent" || key == u"sprite") {
            if (!value.isBool())
                return u'"' + key + QStringLiteral("\" is not true or false");
            bool &target = key == u"border-removal" ? entry.borderRemoval
                : key == u"transparent"             ? entry.transparent
                                                    : entry.sprite;
            target = value.toBool();
        } else {
            return QStringLiteral("unknown key \"") + key + u'"';
        }
        if (!problem.isEmpty())
            return problem;
    }
    return EntryValues::check(entry);
}

} // namespace

QList<RenderEntry> Manifest::read(const QByteArray &json, const RenderEntry &defaults, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("manifest is not JSON: ") + parseError.errorString()
            + QStringLiteral(" at byte ") + QString::number(parseError.offset);
        return {};
    }
    if (!document.isArray()) {
        *error = QStringLiteral("manifest is not a JSON array of objects");
        return {};
    }
    const QJsonArray array = document.array();
    if (array.isEmpty()) {
        *error = QStringLiteral("manifest has no entries");
        return {};
    }
    QList<RenderEntry> entries;
    for (qsizetype i = 0; i < array.size(); ++i) {
        RenderEntry entry = defaults;
        entry.captions.clear();
        entry.origin = QStringLiteral("manifest entry ") + QString::number(i + 1);
        const QString problem = array.at(i).isObject() ? readEntry(array.at(i).toObject(), entry)
                                                       : QStringLiteral("is not an object");
        if (!problem.isEmpty()) {
            *error = entry.origin + QStringLiteral(": ") + problem;
            return {};
        }
        entries.append(entry);
    }
    return entries;
}

} // namespace quillet::batch
