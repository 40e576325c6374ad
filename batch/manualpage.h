#pragma once

#include "batch/subcommand.h"

#include <QString>

#include <span>

namespace quillet::batch {

// The troff manual page quillet(1), written from the subcommands' own tables so that it
// names every option the commands accept.
namespace ManualPage {

// `notes`: the paragraph that ends the program's usage.
QString text(std::span<const Subcommand> commands, const QString &notes);
// Text as troff prints it literally: dashes, backslashes, leading dots and every
// character outside ASCII escaped (groff then needs no input encoding).
QString escaped(QStringView text);

} // namespace ManualPage

} // namespace quillet::batch
