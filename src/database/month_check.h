#pragma once

// Checking and mending the month files of a station, file by file, with the same rules
// the database applies when it opens them. What the database leaves out or mends on
// open, the check names; with repair it mends what a killed or interrupted writer can
// leave, after keeping a copy of the original in the station's Backup folder.

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"

namespace database {

inline constexpr const char* kBackupFolder = "Backup";

struct MonthFileCheck {
  std::string path;
  std::vector<std::string> faults;   // what is wrong; empty for a sound file
  std::vector<std::string> repairs;  // what was mended (with repair only)
  std::string backup;                // where the original was copied before mending
  bool mendable = false;             // every fault is one that repair mends
};

// One entry per month-shaped name in `stationDir` (month files that are sound included,
// with no faults). With `repair`, a file whose every fault is mendable (a record count
// out of step with sound day blocks, bytes after the last counted record) is first
// copied to "<stationDir>/Backup" and then mended in place; other damage is only
// reported, and the file is never written. kNotFound when the directory cannot be
// listed; a failed copy or write is reported on its file and stops nothing else.
platform::Result<std::vector<MonthFileCheck>> checkMonthFiles(platform::FileSystem& fs,
                                                              const std::string& stationDir,
                                                              bool repair);

}  // namespace database
