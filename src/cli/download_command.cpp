// stratalog download: the archive of one station, as the user's download runs it.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "frame/archive_download_runner.h"
#include "frame/link_error_table.h"
#include "frame/program.h"
#include "frame/program_runner.h"
#include "link/download_texts.h"
#include "platform/event_loop.h"

namespace cli {

void addDownloadCommands(CLI::App& app, CommandContext& ctx) {
  auto choice = std::make_shared<StationChoice>();
  auto* download = app.add_subcommand(
      "download", "Download the station's new archive records from its console (Ctrl-C stops)");
  addStationOptions(download, *choice);
  download->callback([&ctx, choice] {
    const frame::RunOptions options = runOptions(ctx, choice->programDir);
    if (!resolveStation(ctx, *choice)) return;
    const bool terminal = platform::standardInputIsTerminal();
    ctx.exitCode = frame::runWithStation(options, choice->station, [&](frame::Program& program) {
      // The progress and the retries share one status line, overwritten in place; the
      // retry line is the longer, so each line erases what it leaves of the one before.
      auto showStatus = [&ctx, terminal](const std::string& line) {
        if (terminal) *ctx.out << "\r" << line << "\033[K" << std::flush;
      };
      auto progress = [showStatus](int done, int total) {
        showStatus(stationlink::progressText(done, total));
      };
      frame::DownloadResult r = frame::downloadOpenStation(program, progress, showStatus);
      if (terminal) *ctx.out << "\n";
      if (r.ok()) {
        *ctx.out << r.recordsStored << " new records stored\n";
        return kExitOk;
      }
      *ctx.err << "stratalog download: ";
      if (r.linkError != 0) {
        *ctx.err << frame::linkErrorText(r.linkError);
        if (!r.status.isOk()) *ctx.err << " (" << r.status.message() << ")";
      } else {
        *ctx.err << r.status.message();
      }
      *ctx.err << "; " << r.recordsStored << " new records stored\n";
      return kExitFailed;
    });
  });
}

}  // namespace cli
