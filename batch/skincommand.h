#pragma once

#include "batch/commandcontext.h"
#include "batch/subcommand.h"

#include <QString>
#include <QStringList>

namespace quillet::batch {

// "quillet skin check|import ...": the designer's tools for making skins. Needs a
// QApplication (offscreen is enough) with the program's font substitutions installed.
namespace SkinCommand {

using enum batch::ExitCode;

// Import writes into the program's skins/ folder unless told otherwise.
using Context = CommandContext;

// arguments: what follows "skin"; the first one names the verb.
int run(const QStringList &arguments, const Context &context);
// "quillet skin check": arguments follow "check".
int check(const QStringList &arguments, const Context &context);
// The command with its verbs, check and import.
const Subcommand &subcommand();

} // namespace SkinCommand

} // namespace quillet::batch
