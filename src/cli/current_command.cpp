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
#include "platform/string_table.h"

namespace cli {

namespace {

constexpr int kHelpCurrent = 65403;
constexpr int kHelpFollow = 65404;
constexpr int kMsgNoFreeLink = 65405;

}  // namespace

void addCurrentCommands(CLI::App& app, CommandContext& ctx) {
  auto choice = std::make_shared<StationChoice>();
  auto follow = std::make_shared<bool>(false);
  auto* current = app.add_subcommand("current", helpText(kHelpCurrent));
  addStationOptions(current, *choice);
  current->add_flag("--follow,-f", *follow, helpText(kHelpFollow));
  current->callback([&ctx, choice, follow] {
    // A running program holds the console's port: it serves the readings.
    const bool named = !choice->station.empty();
    if (named && !resolveStation(ctx, *choice)) return;
    if (auto code = currentFromRunningProgram(ctx, choice->programDir,
                                              named ? choice->station : std::string(), *follow)) {
      ctx.exitCode = *code;
      return;
    }
    const frame::RunOptions options = runOptions(ctx, choice->programDir);
    if (!named && !resolveStation(ctx, *choice)) return;
    ctx.exitCode = frame::runWithStation(options, choice->station, [&](frame::Program& program) {
      if (*follow) {
        return frame::followCurrentConditions(program, *ctx.out,
                                              platform::standardOutputIsTerminal(),
                                              frame::bulletinFormatter(program));
      }
      stationlink::ConsoleLink* link = program.stations().stationLink();
      if (link == nullptr) {
        *ctx.err << "stratalog current: " << platform::loadString(kMsgNoFreeLink) << "\n";
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
