// stratalog upload N...: the named upload profiles of a station, run now.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "frame/program.h"
#include "frame/program_runner.h"
#include "frame/upload_runner.h"
#include "platform/event_loop.h"
#include "publish/inet_config.h"
#include "publish/upload_run.h"
#include "publish/upload_text.h"

namespace cli {

namespace {

constexpr int kHelpUpload = 66566;
constexpr int kHelpNumbers = 66567;
constexpr int kMsgBadNumber = 66574;

struct Options {
  StationChoice choice;
  std::vector<std::string> numbers;
};

int runUpload(CommandContext& ctx, frame::Program& program, std::uint32_t profiles) {
  auto loaded = publish::loadInetConfig(program.files(), program.currentStationDir());
  if (!loaded) return reportFailure(ctx, "upload", loaded.status());
  frame::logConfigSource(program, loaded->source);
  auto ftp = frame::curlConnectorFor(program);
  publish::UploadRunParts parts = frame::uploadRunParts(program, loaded->config, profiles, *ftp);
  const bool terminal =
      ctx.host != nullptr ? ctx.clientTerminal : platform::standardOutputIsTerminal();
  parts.progress = [&ctx, terminal](std::string_view text) {
    if (terminal) *ctx.out << "\r" << text << "\033[K" << std::flush;
  };
  std::string result;
  auto log = parts.log;
  parts.log = [&result, log](std::string_view text, std::string_view source) {
    log(text, source);
    result = std::string(text);
  };
  publish::UploadRun run(std::move(parts));
  // In the running program the run goes on inside the client's request, as a download
  // does; on its own the command steps it on its loop.
  const publish::UploadOutcome outcome =
      ctx.host != nullptr ? run.runToEnd() : frame::runOnLoop(program, run);
  if (terminal) *ctx.out << "\r\033[K";
  // The result line is the run's last log line.
  (outcome == publish::UploadOutcome::kCompleted ? *ctx.out : *ctx.err) << result << "\n";
  return outcome == publish::UploadOutcome::kCompleted ? kExitOk : kExitFailed;
}

}  // namespace

void addUploadCommands(CLI::App& app, CommandContext& ctx) {
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("upload", helpText(kHelpUpload));
  addStationOptions(cmd, o->choice);
  cmd->add_option("perfiles", o->numbers, helpText(kHelpNumbers))->required();
  cmd->callback([&ctx, o] {
    std::uint32_t profiles = 0;
    for (const std::string& n : o->numbers) {
      const auto k = digitsArgument(n);
      if (!k || *k < 1 || *k > publish::kProfileCount) {
        return usageError(ctx, "upload", publish::message(kMsgBadNumber, {n}));
      }
      profiles |= 1u << (*k - 1);
    }
    runConsoleCommand(ctx, o->choice,
                      [&](frame::Program& program) { return runUpload(ctx, program, profiles); });
  });
}

}  // namespace cli
