#pragma once

// "download.txt": the newest records of a station as fixed-width text, written after a
// download for those who pick the data up from a file.

#include <string>

#include "platform/file_system.h"
#include "platform/status.h"
#include "quantities/user_conventions.h"

namespace station {

inline constexpr const char* kDownloadTextFileName = "download.txt";

// Writes "<station>/download.txt": three heading lines, then every record from the day
// before the newest record's day (the newest day alone when the day before has none) to the
// end, through the station's first selected data list, in the user's units and date
// conventions. The file is replaced whole or not at all.
platform::Status writeDownloadTextFile(platform::FileSystem& files, const std::string& stationDir,
                                       const quantities::UserConventions& conventions);

}  // namespace station
