#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/status.h"

namespace frame {

// The display units of the program settings as the station setup offers them, by name:
// temperature F|C, barometer inHg|mm|mb|hPa, wind mph|knots|kmh|ms, rain in|mm,
// elevation m|ft. Each one that is set is changed.
struct UnitChoices {
  std::optional<std::string> temperature;
  std::optional<std::string> barometer;
  std::optional<std::string> wind;
  std::optional<std::string> rain;
  std::optional<std::string> elevation;
  bool any() const { return temperature || barometer || wind || rain || elevation; }
};

// Writes the chosen units into "progdata.dat" of `programDir` (a missing file starts from
// the defaults; a file of another size is refused rather than replaced). Every name is
// checked before anything is written.
platform::Status applyUnitChoices(platform::FileSystem& files, const std::string& programDir,
                                  const UnitChoices& choices);

// The units in force, one line for a person, by the names the unit options take.
platform::Result<std::string> describeUnits(platform::FileSystem& files,
                                            const std::string& programDir);

}  // namespace frame
