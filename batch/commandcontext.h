#pragma once

#include <QString>

class QTextStream;

namespace quillet::batch {

// What every subcommand is run with: where the program's skins are, and its two streams.
struct CommandContext
{
    QString programFolder; // the skins are its skins/ folder
    QTextStream &out;
    QTextStream &err;
    bool errorIsTerminal = false;
};

} // namespace quillet::batch
