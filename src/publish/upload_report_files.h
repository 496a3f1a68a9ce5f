#pragma once

// The report files an upload run sends: the NOAA summaries and the recent-records files.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"
#include "quantities/user_conventions.h"

namespace publish {

inline constexpr std::string_view kTwoDayFileName = "downld02.txt";
inline constexpr std::string_view kWeekFileName = "downld08.txt";

// A report selection of a profile that makes a file: its bit, its file name in the
// station directory and the progress text's string number.
struct ReportFileKind {
  std::uint32_t bit;
  std::string_view fileName;
  int progressText;
};
// In the order a run writes them. The sunrise and rain-database selections make no file.
const std::vector<ReportFileKind>& reportFileKinds();

// Writes the report file of `bit` to `path` for the station in `stationDir`, replaced
// whole or not at all. The recent-records files hold the records of the newest day and
// the day before it (2-day) or the six days before it (1-week), as the station's first
// data list shows them.
platform::Status writeReportFile(platform::FileSystem& files, const std::string& stationDir,
                                 const quantities::UserConventions& conventions,
                                 std::uint32_t bit, const std::string& path);

}  // namespace publish
