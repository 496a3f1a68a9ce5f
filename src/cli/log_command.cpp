#include <CLI/CLI.hpp>
#include <filesystem>
#include <ostream>

#include "cli/cli.h"
#include "frame/event_log.h"
#include "frame/program_runner.h"

namespace cli {

namespace {

constexpr int kHelpLog = 65406;
constexpr int kHelpLines = 65407;

}  // namespace

void addLogCommands(CLI::App& app, CommandContext& ctx) {
  struct Options {
    std::size_t lines = 0;
    std::string programDir;
  };
  auto options = std::make_shared<Options>();
  auto* log = app.add_subcommand("log", helpText(kHelpLog));
  log->add_option("-n,--lines", options->lines, helpText(kHelpLines))
      ->check(CLI::NonNegativeNumber);
  addProgramDirOption(log, options->programDir);
  log->callback([&ctx, options] {
    const std::string dir = frame::resolveProgramDirectory(options->programDir);
    frame::EventLog eventLog(*ctx.env.files, *ctx.env.clock, dir);
    auto lines = eventLog.readLines(options->lines);
    if (!lines) {
      *ctx.err << "stratalog log: " << lines.status().message() << "\n";
      ctx.exitCode = kExitFailed;
      return;
    }
    for (const std::string& line : *lines) *ctx.out << line << "\n";
    ctx.exitCode = kExitOk;
  });
}

}  // namespace cli
