#pragma once

#include "batch/commandcontext.h"
#include "batch/subcommand.h"

#include <QStringList>

namespace quillet::batch {

// "quillet kit --skin NAME ...": a style sheet that draws real <button>, <a> and
// <input type=submit> elements of any width from pieces of a skin, the pieces at every
// density, and a demo page. Needs a QApplication (offscreen is enough) with the program's
// font substitutions installed.
namespace KitCommand {

using enum batch::ExitCode;
inline constexpr int kMinHeight = 12;
inline constexpr int kMaxHeight = 96;

QString usage();
// arguments: what follows "kit".
int run(const QStringList &arguments, const CommandContext &context);
const Subcommand &subcommand();

} // namespace KitCommand

} // namespace quillet::batch
