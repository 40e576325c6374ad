#include "pictures/nametemplate.h"

#include "pictures/exportnaming.h"

#include <QStringList>

namespace quillet::pictures::NameTemplate {

namespace {

constexpr QStringView kFields[] = { u"text", u"state", u"skin", u"control", u"width", u"height" };

QString value(QStringView field, const NameFields &fields)
{
    if (field == u"text")
        return fields.text;
    if (field == u"state")
        return fields.state;
    if (field == u"skin")
        return fields.skin;
    if (field == u"control")
        return fields.control;
    if (field == u"width")
        return QString::number(fields.width);
    return QString::number(fields.height);
}

// Calls onText for each literal run and onField for each field; false on a brace left
// open or an unknown field (its name in *bad).
template<typename Text, typename Field>
bool walk(const QString &nameTemplate, Text onText, Field onField, QString *bad)
{
    qsizetype i = 0;
    while (i < nameTemplate.size()) {
        const qsizetype open = nameTemplate.indexOf(u'{', i);
        const qsizetype stray = nameTemplate.indexOf(u'}', i);
        if (stray >= 0 && (open < 0 || stray < open)) {
            *bad = QStringLiteral("a \"}\" without its \"{\"");
            return false;
        }
        if (open < 0) {
            onText(QStringView(nameTemplate).mid(i));
            return true;
        }
        onText(QStringView(nameTemplate).mid(i, open - i));
        const qsizetype close = nameTemplate.indexOf(u'}', open);
        if (close < 0) {
            *bad = QStringLiteral("a \"{\" without its \"}\"");
            return false;
        }
        const QStringView field = QStringView(nameTemplate).mid(open + 1, close - open - 1);
        if (std::find(std::begin(kFields), std::end(kFields), field) == std::end(kFields)) {
            *bad = QStringLiteral("unknown field {") + field.toString()
                + QStringLiteral("} (use {text}, {state}, {skin}, {control}, {width}, {height})");
            return false;
        }
        onField(field);
        i = close + 1;
    }
    return true;
}

} // namespace

bool isSafeRelativePath(const QString &path)
{
    if (path.isEmpty() || path.startsWith(u'/') || path.contains(u'\\'))
        return false;
    // Direction marks would show a name other than the one on disk ("gnp.exe" read as
    // "exe.png"); the command line refuses them, whatever the designer's list allows.
    const auto isDirectionMark = [](QChar c) {
        const char16_t u = c.unicode();
        return u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
    };
    if (std::any_of(path.begin(), path.end(), isDirectionMark))
        return false;
    const QStringList parts = path.split(u'/');
    return std::all_of(parts.begin(), parts.end(), [](const QString &part) {
        return !part.startsWith(QStringLiteral("..")) && ExportNaming::isSafeFileName(part);
    });
}

QString problem(const QString &nameTemplate)
{
    if (nameTemplate.isEmpty())
        return QStringLiteral("the template is empty");
    QString bad;
    QString literal;
    // Each field stands for a harmless word, so that only the template's own text is judged.
    if (!walk(
            nameTemplate, [&](QStringView text) { literal += text; }, [&](QStringView) { literal += u'x'; },
            &bad))
        return bad;
    if (literal.startsWith(u'/'))
        return QStringLiteral("an absolute path leaves --out");
    if (literal.contains(u'\\'))
        return QStringLiteral("\"\\\" is no folder separator here; use \"/\"");
    for (const QString &part : literal.split(u'/')) {
        if (part == u".." || part.startsWith(QStringLiteral("..")))
            return QStringLiteral("\"..\" leaves --out");
        if (!ExportNaming::isSafeFileName(part))
            return QStringLiteral("\"") + part + QStringLiteral("\" cannot be a folder or file name");
    }
    return {};
}

QString expand(const QString &nameTemplate, const NameFields &fields)
{
    QString result;
    QString bad;
    if (!walk(
            nameTemplate, [&](QStringView text) { result += text; },
            [&](QStringView field) { result += value(field, fields); }, &bad))
        return {};
    return isSafeRelativePath(result) ? result : QString();
}

} // namespace quillet::pictures::NameTemplate
