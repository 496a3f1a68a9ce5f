#pragma once

// The NOAA setup: the station's city, state, elevation, location texts, degree-day bases
// and method, and the monthly normals, entered in the user's display units. Every field
// is checked before any is stored, so a refusal leaves the record as it was.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/status.h"
#include "quantities/units.h"
#include "station/station_config.h"

namespace reports {

// The fields a person changes; the others keep their stored values. A normal's text may
// be empty: that clears it.
struct NoaaSetupChanges {
  std::optional<std::string> city, state, elevation, latText, lonText, heatBase, coolBase;
  std::optional<bool> integration;
  std::vector<std::pair<int, std::string>> normalTemps;  // month 1-12, value
  std::vector<std::pair<int, std::string>> normalRains;
};

// Checks the changes in the setup's order (texts, heating base, cooling base, normal
// temperatures, normal rain, elevation) and stores them all in `config`. The first
// refusal comes back as kBadArgument with its message, `config` untouched.
platform::Status applyNoaaSetup(station::StationConfig& config, const NoaaSetupChanges& changes,
                                const quantities::Units& units);

// The setup's fields in display units, one "name: value" line each.
std::string describeNoaaSetup(const station::StationConfig& config, const quantities::Units& units);

}  // namespace reports
