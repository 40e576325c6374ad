#pragma once

#include <QString>

class QTextStream;

namespace quillet::batch {

// What every subcommand answers: 2 for input refused before anything was written, 1 for a
// write that failed.
enum ExitCode { Success = 0, WriteFailed = 1, BadInput = 2 };

// What every subcommand is run with: where the program's skins are, and its two streams.
struct CommandContext
{
    QString programFolder; // the skins are its skins/ folder
    QTextStream &out;
    QTextStream &err;
    bool errorIsTerminal = false;
};

} // namespace quillet::batch
