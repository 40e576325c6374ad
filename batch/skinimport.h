#pragma once

#include "batch/commandcontext.h"
#include "batch/subcommand.h"

#include <QStringList>

namespace quillet::batch::skinimport {

// "quillet skin import": a picture skin for the push button from nine-patch files, one
// per state. Every file is read and checked before anything is written; an existing skin
// is replaced only when asked to. Returns the command's exit code.
int run(const QStringList &arguments, const CommandContext &context);
const Subcommand &subcommand();

} // namespace quillet::batch::skinimport
