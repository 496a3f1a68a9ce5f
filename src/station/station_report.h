#pragma once

#include <string>

#include "quantities/units.h"
#include "station/station_state.h"

namespace station {

// The station's settings as lines "name: value" for a person (the command line's "show"),
// the elevation in the person's `units`. Passwords are never shown.
std::string describeStation(const StationState& station, const quantities::Units& units);

// The station's data lists, one line per list: its index, name and the long names of its
// columns.
std::string describeDataLists(const StationState& station);

}  // namespace station
