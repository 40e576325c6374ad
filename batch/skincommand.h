#pragma once

#include "batch/commandcontext.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace quillet::batch {

// "quillet skin check|import ...": the designer's tools for making skins. Needs a
// QApplication (offscreen is enough) with the program's font substitutions installed.
class SkinCommand
{
public:
    using enum batch::ExitCode;

    // Import writes into the program's skins/ folder unless told otherwise.
    using Context = CommandContext;

    // arguments: what follows "skin".
    static int run(const QStringList &arguments, const Context &context);

private:
    static int check(const QStringList &arguments, const Context &context);
};

} // namespace quillet::batch
