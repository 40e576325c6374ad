#include "batch/optiontable.h"

#include <QJsonArray>

namespace quillet::batch::OptionTable {

namespace {

constexpr int kHelpColumn = 24;

bool scalarText(const QJsonValue &value, bool stringsOnly, QString *text)
{
    if (value.isString()) {
        *text = value.toString();
        return true;
    }
    if (!stringsOnly && value.isDouble()) {
        *text = QString::number(value.toDouble(), 'g', 17);
        return true;
    }
    return false;
}

} // namespace

QString flagName(QStringView name)
{
    return QStringLiteral("--") + name.toString();
}

bool manifestText(OptionKind kind, const QJsonValue &value, QStringList *texts)
{
    texts->clear();
    QString text;
    switch (kind) {
    case OptionKind::Flag:
        if (!value.isBool())
            return false;
        texts->append(value.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
        return true;
    case OptionKind::Text:
        if (!scalarText(value, true, &text))
            return false;
        texts->append(text);
        return true;
    case OptionKind::Number:
        if (!value.isDouble())
            return false;
        texts->append(QString::number(value.toDouble(), 'g', 17));
        return true;
    case OptionKind::List: {
        if (!value.isArray()) {
            if (!scalarText(value, false, &text))
                return false;
            texts->append(text);
            return true;
        }
        QStringList parts;
        for (const QJsonValue &item : value.toArray()) {
            if (!scalarText(item, false, &text))
                return false;
            parts.append(text);
        }
        if (parts.isEmpty())
            return false;
        texts->append(parts.join(u','));
        return true;
    }
    case OptionKind::Repeated:
        if (!value.isArray())
            return scalarText(value, true, &text) && (texts->append(text), true);
        for (const QJsonValue &item : value.toArray()) {
            if (!scalarText(item, true, &text))
                return false;
            texts->append(text);
        }
        return true;
    case OptionKind::Action:
    case OptionKind::Positional:
        break;
    }
    return false;
}

QString optionLines(const QList<OptionRow> &rows)
{
    QString text;
    const QString indent(kHelpColumn, u' ');
    for (const OptionRow &row : rows) {
        QString line = QStringLiteral("  ") + row.name;
        if (!row.valueName.isEmpty())
            line += (row.name.isEmpty() ? QString() : QStringLiteral(" ")) + row.valueName;
        line += line.size() + 1 < kHelpColumn ? QString(kHelpColumn - line.size(), u' ')
                                              : QStringLiteral("  ");
        line += QString(row.help).replace(u'\n', u'\n' + indent);
        text += line + u'\n';
    }
    return text;
}

QString listText(const QStringList &items, QStringView lastJoin)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.first(items.size() - 1).join(QStringLiteral(", ")) + lastJoin + items.last();
}

} // namespace quillet::batch::OptionTable
