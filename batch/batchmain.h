#pragma once

namespace quillet::batch {

// The command-line side of the program: the subcommands, and --help and --version for
// the whole program. None of them needs a display.
class BatchMain
{
public:
    // True when the command line asks for a subcommand or for --help or --version; the
    // designer window otherwise.
    static bool handles(int argc, char **argv);
    static int run(int argc, char **argv);
    // The program's own usage: the designer, then one line per subcommand.
    static const char *programUsage();
};

} // namespace quillet::batch
