#include "batch/bashcompletion.h"

#include <QTextStream>

namespace quillet::batch::BashCompletion {

namespace {

// Asks the program itself for the skin names, so the list is the one it would accept.
constexpr QStringView kValues = uR"sh(_quillet_values()
{
    local IFS=$'\n'
    case $1 in
    file) compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -f -- "$2")) ;;
    folder) compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -d -- "$2")) ;;
    skin)
        # Names may hold spaces: each reply is one word to the shell.
        local name
        while read -r name; do
            [[ $name == "$2"* ]] && COMPREPLY+=("${name// /\\ }")
        done < <("${COMP_WORDS[0]}" render --list-skins 2>/dev/null) ;;
    esac
}

_quillet()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    # bash splits "--out=DIR" at "=": the option is the word before it.
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD-2]}
    fi
    COMPREPLY=()
)sh";

constexpr QStringView kEnd = uR"sh(    if [[ " $skin " == *" $prev "* ]]; then
        _quillet_values skin "$cur"
    elif [[ " $file " == *" $prev "* ]]; then
        _quillet_values file "$cur"
    elif [[ " $folder " == *" $prev "* ]]; then
        _quillet_values folder "$cur"
    elif [[ " $values " == *" $prev "* ]]; then
        return
    elif [[ $cur == -* || -z $bare ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    else
        _quillet_values $bare "$cur"
    fi
}
complete -F _quillet quillet
)sh";

QString hintName(ValueHint hint)
{
    switch (hint) {
    case ValueHint::File:
        return QStringLiteral("file");
    case ValueHint::Folder:
        return QStringLiteral("folder");
    case ValueHint::Skin:
        return QStringLiteral("skin");
    case ValueHint::None:
        break;
    }
    return {};
}

QString words(std::span<const Subcommand> commands, const QStringList &options)
{
    QStringList words;
    for (const Subcommand &command : commands)
        words.append(command.name.toString());
    return (words + options).join(u' ');
}

QStringList names(const QList<OptionRow> &rows)
{
    QStringList names;
    for (const OptionRow &row : rows) {
        if (!row.name.isEmpty())
            names.append(row.name);
    }
    return names;
}

// One branch of the case over the command's words: its options, and what each takes.
void writeBranch(QTextStream &script, const QString &path, const Subcommand &command)
{
    QStringList options;
    QStringList values;
    QString bare;
    QStringList skins;
    QStringList files;
    QStringList folders;
    for (const OptionRow &row : command.options()) {
        if (row.name.isEmpty()) {
            bare = hintName(row.hint);
            continue;
        }
        options.append(row.name);
        if (!row.valueName.isEmpty())
            values.append(row.name);
        if (row.hint == ValueHint::Skin)
            skins.append(row.name);
        else if (row.hint == ValueHint::File)
            files.append(row.name);
        else if (row.hint == ValueHint::Folder)
            folders.append(row.name);
    }
    script << "    \"" << path << "\")\n        options=\"" << options.join(u' ') << "\" values=\""
           << values.join(u' ') << "\" bare=" << bare << "\n        skin=\"" << skins.join(u' ')
           << "\" file=\"" << files.join(u' ') << "\" folder=\"" << folders.join(u' ') << "\" ;;\n";
    for (const Subcommand &verb : command.verbs)
        writeBranch(script, path + u' ' + verb.name, verb);
}

} // namespace

QString script(std::span<const Subcommand> commands)
{
    QString result;
    QTextStream script(&result);
    script << "# bash completion for quillet. Made by the build from the option tables in batch/.\n\n"
           << kValues << "    if ((COMP_CWORD == 1)); then\n"
           << "        COMPREPLY=($(compgen -W \""
           << words(commands, { QStringLiteral("--help"), QStringLiteral("--version") })
           << "\" -- \"$cur\"))\n        return\n    fi\n"
           << "    local path=${COMP_WORDS[1]}\n    case $path in\n";
    for (const Subcommand &command : commands) {
        if (command.verbs.empty())
            continue;
        // The verb is the next word; until it is typed, the verbs are what to offer.
        script << "    " << command.name << ")\n        if ((COMP_CWORD == 2)); then\n"
               << "            COMPREPLY=($(compgen -W \"" << words(command.verbs, names(command.options()))
               << "\" -- \"$cur\"))\n            return\n        fi\n"
               << "        path+=\" ${COMP_WORDS[2]}\" ;;\n";
    }
    script << "    esac\n    local options= values= bare= skin= file= folder=\n    case $path in\n";
    for (const Subcommand &command : commands)
        writeBranch(script, command.name.toString(), command);
    script << "    *) return ;;\n    esac\n" << kEnd;
    script.flush();
    return result;
}

} // namespace quillet::batch::BashCompletion
