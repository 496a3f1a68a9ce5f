#include <CLI/CLI.hpp>
#include <filesystem>
#include <ostream>

#include "cli/cli.h"
#include "frame/event_log.h"

namespace commands {

void addLogCommands(CLI::App& app, CommandContext& ctx) {
  struct Options {
    std::size_t lines = 0;
    std::string programDir;
  };
  auto options = std::make_shared<Options>();
  auto* log = app.add_subcommand("log", "Show the event log (download.log), newest line first");
  log->add_option("-n,--lines", options->lines, "show only the newest N lines (0: all)")
      ->check(CLI::NonNegativeNumber);
  log->add_option("--program-dir", options->programDir,
                  "program directory holding download.log (default: the current directory)");
  log->callback([&ctx, options] {
    std::string dir = options->programDir;
    if (dir.empty()) {
      std::error_code ec;
      dir = std::filesystem::current_path(ec).string();
      if (ec) dir = ".";
    }
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

}  // namespace commands
