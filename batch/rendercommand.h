#pragma once

#include "batch/commandcontext.h"
#include "batch/renderentry.h"
#include "pictures/buttonjob.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace quillet::batch {

// "quillet render": checks every option, skin and file name first, then writes the
// pictures into the output folder and nowhere else. Needs a QApplication (offscreen is
// enough) with the program's font substitutions installed.
class RenderCommand
{
public:
    using enum batch::ExitCode;

    using Context = CommandContext;

    static int run(const QStringList &arguments, const Context &context);
    // Skin names in list order, as --list-skins prints them.
    static QStringList skinNames(const QString &programFolder);
};

} // namespace quillet::batch
