#pragma once

// A secret typed on standard input for the publishing settings: never an argument, so it
// stays out of the process list and the shell history.

#include <optional>
#include <string>

#include "cli/cli.h"

namespace cli {

// The first line of the command's input, without its line end; nothing when none came.
std::optional<std::string> readSecretLine(CommandContext& ctx);

}  // namespace cli
