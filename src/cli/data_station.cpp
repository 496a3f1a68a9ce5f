#include "cli/data_station.h"

#include <ostream>

#include "frame/station_argument.h"

namespace cli {

bool resolveDataStation(CommandContext& ctx, StationChoice& choice) {
  auto dir = frame::resolveStationArgument(*ctx.env.files, programDirectory(choice.programDir),
                                           choice.station, /*monthFilesSuffice=*/true);
  if (!dir) {
    *ctx.err << "stratalog: " << dir.status().message() << "\n";
    ctx.exitCode = kExitUsage;
    return false;
  }
  choice.station = *dir;
  return true;
}

}  // namespace cli
