#include "batch/manifest.h"

#include "batch/entryvalues.h"
#include "batch/renderoptions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace quillet::batch {

namespace {

QString readEntry(const QJsonObject &object, RenderOptions &options)
{
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QString problem = OptionTable::applyKey(RenderOptions::table(), it.key(), it.value(), options);
        if (!problem.isEmpty())
            return problem;
    }
    return EntryValues::check(options.entry);
}

} // namespace

QList<RenderEntry> Manifest::read(
    const QByteArray &json, const RenderEntry &defaults, QString *error, const QString &folder)
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
        RenderOptions options;
        options.entry = defaults;
        options.baseFolder = folder;
        options.entry.captions.clear();
        options.entry.origin = QStringLiteral("manifest entry ") + QString::number(i + 1);
        const QString problem = array.at(i).isObject() ? readEntry(array.at(i).toObject(), options)
                                                       : QStringLiteral("is not an object");
        if (!problem.isEmpty()) {
            *error = options.entry.origin + QStringLiteral(": ") + problem;
            return {};
        }
        entries.append(options.entry);
    }
    return entries;
}

} // namespace quillet::batch
