#pragma once

#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <span>

namespace quillet::batch {

// How an option takes its value, on the command line and as a manifest key.
enum class OptionKind {
    Flag, // --name alone; true or false in a manifest
    Text, // --name VALUE; a string
    Number, // --name N; a number
    List, // --name A,B; a string, a number or an array of them
    Repeated, // --name VALUE, again for more; a string or an array of strings
    Action, // --name alone, command line only: ends the parse (help, version) or sets a mode
    Positional, // a bare argument (no dashes), command line only; its name is for the usage
};

// What an option's value is, for the shell's completion.
enum class ValueHint { None, File, Folder, Skin };

// One option as the usage text, the manual page and the completion show it.
struct OptionRow
{
    QString name; // "--skin"; empty for a bare argument
    QString valueName; // "NAME", "FILE..."; empty for a flag
    QString help; // a "\n" starts a continuation line
    ValueHint hint = ValueHint::None;
};

// One option of a subcommand. The usage text, the command-line parser and the manifest
// reader are all made from a table of these, so an option is written down once.
template<typename Target> struct OptionSpec
{
    QStringView name; // without the dashes; the manifest key too
    QStringView valueName; // as the usage shows it: N, NAME, LIST; empty for flags
    QStringView help; // one line; a "\n" starts an indented continuation
    OptionKind kind;
    bool inManifest;
    // Takes one value (a flag gets "true" or "false"); answers an error that names the
    // option, or an empty string.
    QString (*apply)(Target &target, const QString &value);
    ValueHint hint = ValueHint::None;
};

// The --help row of a subcommand whose options have a help flag; it stops the parse.
template<typename Target> constexpr OptionSpec<Target> helpOption()
{
    return { u"help", u"", u"this text", OptionKind::Action, false, [](Target &target, const QString &) {
                target.help = true;
                return QStringLiteral("stop");
            } };
}

namespace OptionTable {

// The text of a value a manifest gives, as the command line would give it; false for a
// value of the wrong type.
bool manifestText(OptionKind kind, const QJsonValue &value, QStringList *texts);
// The option lines of a usage text.
QString optionLines(const QList<OptionRow> &rows);
QString flagName(QStringView name);
// "a, b or c": the items of a table for a help line or a message.
QString listText(const QStringList &items, QStringView lastJoin = u" or ");

template<typename Target>
const OptionSpec<Target> *find(std::span<const OptionSpec<Target>> table, QStringView name)
{
    for (const OptionSpec<Target> &spec : table) {
        if (spec.name == name)
            return &spec;
    }
    return nullptr;
}

// Parses "--name VALUE", "--name=VALUE" and flags; an empty answer when every argument was
// understood, else the message. Stops after an Action option whose apply answers "stop".
template<typename Target>
QString parse(std::span<const OptionSpec<Target>> table, const QStringList &arguments, Target &target)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments.at(i);
        QString value;
        bool inlineValue = false;
        if (name.startsWith(QStringLiteral("--")) && name.contains(u'=')) {
            value = name.mid(name.indexOf(u'=') + 1);
            name = name.left(name.indexOf(u'='));
            inlineValue = true;
        }
        if (name == u"-h")
            name = QStringLiteral("--help");
        if (!name.startsWith(u'-')) {
            const OptionSpec<Target> *positional = nullptr;
            for (const OptionSpec<Target> &spec : table) {
                if (spec.kind == OptionKind::Positional)
                    positional = &spec;
            }
            if (!positional)
                return QStringLiteral("unexpected argument \"") + name + QStringLiteral("\" (see --help)");
            const QString problem = positional->apply(target, name);
            if (!problem.isEmpty())
                return problem;
            continue;
        }
        const OptionSpec<Target> *spec
            = name.startsWith(QStringLiteral("--")) ? find(table, QStringView(name).mid(2)) : nullptr;
        if (!spec || spec->kind == OptionKind::Positional)
            return QStringLiteral("unknown option \"") + arguments.at(i) + QStringLiteral("\" (see --help)");
        if (spec->kind == OptionKind::Flag || spec->kind == OptionKind::Action) {
            if (inlineValue)
                return name + QStringLiteral(" takes no value");
            const QString answer = spec->apply(target, QStringLiteral("true"));
            if (answer == u"stop")
                return {};
            if (!answer.isEmpty())
                return answer;
            continue;
        }
        // A following option is not a value: "--width --out x" lacks the width.
        if (!inlineValue) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).startsWith(QStringLiteral("--")))
                return name + QStringLiteral(" needs a value");
            value = arguments.at(++i);
        }
        const QString problem = spec->apply(target, value);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

// Applies one manifest key through the same table; the message names the key.
template<typename Target>
QString applyKey(
    std::span<const OptionSpec<Target>> table, const QString &key, const QJsonValue &value, Target &target)
{
    const OptionSpec<Target> *spec = find(table, QStringView(key));
    if (!spec || !spec->inManifest)
        return QStringLiteral("unknown key \"") + key + u'"';
    QStringList texts;
    if (!manifestText(spec->kind, value, &texts)) {
        switch (spec->kind) {
        case OptionKind::Flag:
            return u'"' + key + QStringLiteral("\" is not true or false");
        case OptionKind::Number:
            return u'"' + key + QStringLiteral("\" is not a number");
        default:
            return u'"' + key + QStringLiteral("\" has a value of the wrong type");
        }
    }
    for (const QString &text : std::as_const(texts)) {
        const QString problem = spec->apply(target, text);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

// Every option of the table as the usage, the manual page and the completion show it.
template<typename Target> QList<OptionRow> rows(std::span<const OptionSpec<Target>> table)
{
    QList<OptionRow> rows;
    for (const OptionSpec<Target> &spec : table) {
        const bool positional = spec.kind == OptionKind::Positional;
        rows.append({ positional ? QString() : flagName(spec.name), spec.valueName.toString(),
            spec.help.toString(), spec.hint });
    }
    return rows;
}

// "  --name VALUE   help" lines for every option of the table.
template<typename Target> QString usageLines(std::span<const OptionSpec<Target>> table)
{
    return optionLines(rows(table));
}

// The manifest keys of the table, for the usage text.
template<typename Target> QString manifestKeys(std::span<const OptionSpec<Target>> table)
{
    QStringList keys;
    for (const OptionSpec<Target> &spec : table) {
        if (spec.inManifest)
            keys.append(spec.name.toString());
    }
    return keys.join(QStringLiteral(", "));
}

} // namespace OptionTable

} // namespace quillet::batch
