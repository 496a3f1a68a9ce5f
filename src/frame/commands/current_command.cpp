// stratalog current: the station's current conditions as its console reports them.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>

#include "frame/commands/cli.h"
#include "frame/link_error_table.h"
#include "frame/program.h"
#include "frame/program_runner.h"
#include "link/current_conditions.h"

namespace commands {

void addCurrentCommands(CLI::App& app, CommandContext& ctx) {
  auto station = std::make_shared<std::string>();
  auto* current = app.add_subcommand("current", "Show the station's current conditions");
  current->add_option("--station", *station, "station directory")->required();
  current->callback([&ctx, station] {
    frame::RunOptions options;
    options.env = ctx.env;
    options.out = ctx.out;
    options.err = ctx.err;
    ctx.exitCode = frame::runWithStation(options, *station, [&](frame::Program& program) {
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
      *ctx.out << stationlink::currentConditionsText(*image);
      return kExitOk;
    });
  });
}

}  // namespace commands
