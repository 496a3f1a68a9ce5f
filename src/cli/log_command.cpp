#include <CLI/CLI.hpp>
#include <filesystem>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "frame/event_log.h"
#include "frame/messages.h"
#include "frame/program_runner.h"
#include "platform/string_table.h"

namespace cli {

namespace {

constexpr int kHelpLog = 65406;
constexpr int kHelpLines = 65407;
constexpr int kMsgLogEmpty = 65930;
constexpr int kMsgBadLineCount = 65931;

}  // namespace

void addLogCommands(CLI::App& app, CommandContext& ctx) {
  struct Options {
    // Signed, so that a negative count reaches the callback and is refused in Spanish.
    long long lines = 0;
    std::string programDir;
  };
  auto options = std::make_shared<Options>();
  auto* log = app.add_subcommand("log", helpText(kHelpLog));
  log->add_option("-n,--lines", options->lines, helpText(kHelpLines));
  addProgramDirOption(log, options->programDir);
  log->callback([&ctx, options] {
    if (options->lines < 0) {
      *ctx.err << "stratalog log: "
               << frame::fillText(platform::loadString(kMsgBadLineCount),
                                  {std::to_string(options->lines)})
               << "\n";
      ctx.exitCode = kExitUsage;
      return;
    }
    const std::string dir = frame::resolveProgramDirectory(options->programDir);
    frame::EventLog eventLog(*ctx.env.files, *ctx.env.clock, dir);
    auto lines = eventLog.readLines(static_cast<std::size_t>(options->lines));
    // A program directory where nothing has been logged yet has an empty log; a directory
    // that is not there is a mistyped --program-dir and is reported as such.
    if (!lines && lines.status().kind() == platform::Errc::kNotFound &&
        ctx.env.files->isDirectory(dir)) {
      *ctx.out << platform::loadString(kMsgLogEmpty) << "\n";
      ctx.exitCode = kExitOk;
      return;
    }
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
