#pragma once

#include "batch/subcommand.h"

#include <QString>

#include <span>

namespace quillet::batch {

// The bash completion of quillet, written from the subcommands' own tables: the
// subcommands, then each one's verbs and options, and files, folders or skin names where
// an option takes one.
namespace BashCompletion {

QString script(std::span<const Subcommand> commands);

} // namespace BashCompletion

} // namespace quillet::batch
