#include <CLI/CLI.hpp>
#include <memory>

#include "cli/cli.h"
#include "frame/program_runner.h"

namespace commands {

int runProgramCommand(const std::vector<std::string>& programArgs, const std::string& programDir,
                      CommandContext& ctx) {
  frame::RunOptions options = runOptions(ctx, programDir);
  options.args = programArgs;
  return frame::runProgram(options);
}

void addRunCommands(CLI::App& app, CommandContext& ctx) {
  auto programDir = std::make_shared<std::string>();
  auto* run = app.add_subcommand(
      "run",
      "Run the program: on a terminal it takes typed commands ('help' lists them); without "
      "one (a service) it runs the schedule until SIGTERM");
  run->add_option("--program-dir", *programDir,
                  "program directory holding progdata.dat, download.lst and the stations "
                  "(default: the current directory)");
  run->callback([&ctx, programDir] { ctx.exitCode = runProgramCommand({}, *programDir, ctx); });
}

}  // namespace commands
