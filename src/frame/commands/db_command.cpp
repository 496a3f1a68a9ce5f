#include <CLI/CLI.hpp>

#include "frame/commands/cli.h"

namespace commands {

void addDbCommands(CLI::App& app, CommandContext& ctx) {
  auto* db = app.add_subcommand("db", "Look into a station's database");
  db->callback([&ctx] { *ctx.err << "stratalog db: not available yet\n"; ctx.exitCode = kExitFailed; });
}

}  // namespace commands
