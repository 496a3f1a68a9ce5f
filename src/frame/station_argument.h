#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/status.h"

namespace frame {

// A station as a person names it on the command line: a station directory (absolute, or
// below the program directory) or the display name of one of the stations below the program
// directory. Left out, it is the program directory's only station, or else the last station
// opened. Returns the station's directory; kNotFound or kBadArgument (unknown, ambiguous or
// missing) with a message that lists the stations there are. With `monthFilesSuffice`, a
// directory named by its path that holds month files is taken even without a sound
// STATION.CFG, so the records of a station whose settings file is lost stay within reach.
platform::Result<std::string> resolveStationArgument(platform::FileSystem& files,
                                                     const std::string& programDir,
                                                     const std::string& given,
                                                     bool monthFilesSuffice = false);

}  // namespace frame
