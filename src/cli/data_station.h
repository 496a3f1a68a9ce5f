#pragma once

#include "cli/cli.h"

namespace cli {

// The station of a command that reads or mends its records: as resolveStation, but a
// directory named by its path that holds month files is taken even when its STATION.CFG is
// missing or damaged, so the records of such a station can still be looked at and mended.
bool resolveDataStation(CommandContext& ctx, StationChoice& choice);

}  // namespace cli
