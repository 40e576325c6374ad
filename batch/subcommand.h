#pragma once

#include "batch/commandcontext.h"
#include "batch/optiontable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <span>

namespace quillet::batch {

// A subcommand of the program, or a verb of one ("skin check"). `quillet --help`, each
// command's --help, the manual page and the shell completion are all read from these.
struct Subcommand
{
    QStringView name; // as typed: "render", or "check" after "skin"
    QStringView summary; // one line, for the program's usage
    // The forms of the command after "quillet ", a "\n" between them; a command with verbs
    // leaves it empty and shows its verbs' forms.
    QStringView synopsis;
    QStringView description; // what the command does, between its forms and its options
    QList<OptionRow> (*options)();
    QString (*notes)(); // a paragraph after the options, or nothing
    int (*run)(const QStringList &arguments, const CommandContext &context);
    std::span<const Subcommand> verbs;
};

namespace Subcommands {

const Subcommand *find(std::span<const Subcommand> list, QStringView name);
// The forms of the command, each after "quillet ".
QStringList synopsis(const Subcommand &command);
// What the command's --help prints.
QString usage(const Subcommand &command);
int printUsage(const Subcommand &command, const CommandContext &context);

} // namespace Subcommands

} // namespace quillet::batch
