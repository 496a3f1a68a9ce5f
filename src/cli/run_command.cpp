#include <CLI/CLI.hpp>
#include <memory>

#include "cli/cli.h"
#include "frame/program_runner.h"

namespace cli {

int runProgramCommand(const std::vector<std::string>& programArgs, const std::string& programDir,
                      CommandContext& ctx) {
  frame::RunOptions options = runOptions(ctx, programDir);
  options.args = programArgs;
  options.commandRunner = clientCommandRunner(ctx);
  return frame::runProgram(options);
}

namespace {

constexpr int kHelpRun = 65408;

}  // namespace

void addRunCommands(CLI::App& app, CommandContext& ctx) {
  auto programDir = std::make_shared<std::string>();
  auto* run = app.add_subcommand("run", helpText(kHelpRun));
  addProgramDirOption(run, *programDir);
  run->callback([&ctx, programDir] { ctx.exitCode = runProgramCommand({}, *programDir, ctx); });
}

}  // namespace cli
