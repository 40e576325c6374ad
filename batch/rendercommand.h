#pragma once

#include "batch/commandcontext.h"
#include "batch/renderentry.h"
#include "batch/subcommand.h"
#include "pictures/buttonjob.h"

#include <QString>
#include <QStringList>

namespace quillet::batch {

// "quillet render": checks every option, skin and file name first, then writes the
// pictures into the output folder and nowhere else. Needs a QApplication (offscreen is
// enough) with the program's font substitutions installed.
namespace RenderCommand {

using enum batch::ExitCode;

using Context = CommandContext;

int run(const QStringList &arguments, const Context &context);
// Skin names in list order, as --list-skins prints them.
QStringList skinNames(const QString &programFolder);
// The command as the program's usage, the manual page and the completion show it; made
// beside the option table (renderoptions.cpp).
const Subcommand &subcommand();

} // namespace RenderCommand

} // namespace quillet::batch
