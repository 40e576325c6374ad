#pragma once

#include "batch/subcommand.h"

#include <QString>

#include <span>

namespace quillet::batch {

// The command-line side of the program: the subcommands, and --help and --version for
// the whole program. None of them needs a display.
namespace BatchMain {

// True when the command line asks for a subcommand or for --help or --version; the
// designer window otherwise.
bool handles(int argc, char **argv);
int run(int argc, char **argv);
// Every subcommand, in the order the program's usage lists them.
std::span<const Subcommand> subcommands();
// The program's own usage: the designer, one line per subcommand, then the notes.
const char *programUsage();
// The paragraph that ends the program's usage; the manual page tells it too.
QString programNotes();

} // namespace BatchMain

} // namespace quillet::batch
