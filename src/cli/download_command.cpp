// stratalog download: the archive of one station, as the user's download runs it.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "frame/archive_download_runner.h"
#include "frame/link_error_table.h"
#include "frame/messages.h"
#include "frame/program.h"
#include "frame/program_runner.h"
#include "link/download_texts.h"
#include "platform/event_loop.h"
#include "platform/string_table.h"

namespace cli {

namespace {

constexpr int kHelpDownload = 65400;
constexpr int kMsgRecordStored = 65401;
constexpr int kMsgRecordsStored = 65402;

std::string storedText(int count) {
  return frame::fillText(platform::loadString(count == 1 ? kMsgRecordStored : kMsgRecordsStored),
                         {std::to_string(count)});
}

}  // namespace

void addDownloadCommands(CLI::App& app, CommandContext& ctx) {
  auto choice = std::make_shared<StationChoice>();
  auto* download = app.add_subcommand("download", helpText(kHelpDownload));
  addStationOptions(download, *choice);
  download->callback([&ctx, choice] {
    // A running program holds the console's port: it downloads, and this prints its answers.
    if (auto code = runInRunningProgram(ctx, choice->programDir)) {
      ctx.exitCode = *code;
      return;
    }
    if (!resolveStation(ctx, *choice)) return;
    const bool terminal = personWatches(ctx);
    auto body = [&](frame::Program& program) {
      // The progress and the retries share one status line, overwritten in place; the
      // retry line is the longer, so each line erases what it leaves of the one before.
      auto showStatus = [&ctx, terminal](const std::string& line) {
        if (terminal) *ctx.out << "\r" << line << "\033[K" << std::flush;
      };
      auto progress = [showStatus](int done, int total) {
        showStatus(stationlink::progressText(done, total));
      };
      frame::DownloadResult r =
          ctx.host != nullptr
              ? frame::downloadInRunningProgram(program, choice->station, progress, showStatus)
              : frame::downloadOpenStation(program, progress, showStatus);
      if (terminal) *ctx.out << "\n";
      if (r.ok()) {
        *ctx.out << storedText(r.recordsStored) << "\n";
        return kExitOk;
      }
      *ctx.err << "stratalog download: ";
      if (r.linkError != 0) {
        *ctx.err << frame::linkErrorText(r.linkError);
        if (!r.status.isOk()) *ctx.err << " (" << r.status.message() << ")";
      } else {
        *ctx.err << r.status.message();
      }
      *ctx.err << "; " << storedText(r.recordsStored) << "\n";
      return kExitFailed;
    };
    ctx.exitCode = ctx.host != nullptr ? body(*ctx.host)
                                       : frame::runWithStation(runOptions(ctx, choice->programDir),
                                                               choice->station, body);
  });
}

}  // namespace cli
