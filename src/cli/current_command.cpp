// stratalog current: the station's current conditions as its console reports them.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "frame/current_follow.h"
#include "frame/link_error_table.h"
#include "frame/program.h"
#include "frame/program_runner.h"
#include "link/current_conditions.h"
#include "platform/event_loop.h"

namespace cli {

void addCurrentCommands(CLI::App& app, CommandContext& ctx) {
  auto choice = std::make_shared<StationChoice>();
  auto follow = std::make_shared<bool>(false);
  auto* current = app.add_subcommand("current", "Show the station's current conditions");
  addStationOptions(current, *choice);
  current->add_flag("--follow,-f", *follow,
                    "keep showing the conditions as the console reports them (Ctrl-C ends)");
  current->callback([&ctx, choice, follow] {
    const frame::RunOptions options = runOptions(ctx, choice->programDir);
    if (!resolveStation(ctx, *choice)) return;
    ctx.exitCode = frame::runWithStation(options, choice->station, [&](frame::Program& program) {
      if (*follow) {
        return frame::followCurrentConditions(program, *ctx.out,
                                              platform::standardOutputIsTerminal(),
                                              frame::bulletinFormatter(program));
      }
      stationlink::ConsoleLink* link = program.stations().stationLink();
      if (link == nullptr) {
        *ctx.err << "stratalog current: no console link is free for the station\n";
        return kExitFailed;
      }
      auto image = stationlink::readCurrentConditions(*link);
      if (!image) {
        *ctx.err << "stratalog current: " << frame::linkErrorText(image.status().code()) << " ("
                 << image.status().message() << ")\n";
        return kExitFailed;
      }
      *ctx.out << frame::bulletinFormatter(program)(*image);
      return kExitOk;
    });
  });
}

}  // namespace cli
