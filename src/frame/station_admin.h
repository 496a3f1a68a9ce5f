#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "frame/program_settings.h"
#include "frame/station_services.h"
#include "platform/file_system.h"
#include "platform/status.h"
#include "station/schedule.h"
#include "station/station_list.h"

namespace frame {

class Program;

// Message id of a download.lst that cannot be written (Status::code()).
inline constexpr int kMsgDownloadListUnwritable = 64214;

// The stations below `parent`, named by their STATION.CFG.
platform::Result<std::vector<station::StationEntry>> listStationsIn(StationServices& stations,
                                                                    platform::FileSystem& files,
                                                                    const std::string& parent);

// The automatic-download fields of the program settings as a schedule, and back.
station::DownloadSchedule scheduleFromSettings(const ProgramSettings& settings);
void storeScheduleInSettings(const station::DownloadSchedule& schedule, ProgramSettings& settings);

// Saving the auto-download choice: download.lst is written first (on failure nothing
// else changes), then the hours and offset go into the settings with autoDownload and a
// fresh last hour, and the settings are saved. REQUIRES: 0 <= offsetMinutes <= 59.
platform::Status applyAutoDownload(platform::FileSystem& files, const std::string& programDir,
                                   ProgramSettings& settings,
                                   const std::vector<std::string>& stationDirs,
                                   const std::array<bool, 24>& hours, int offsetMinutes);

// The auto-download choice as stored: the list (empty when download.lst is missing) and
// the schedule of progdata.dat (the defaults when it is missing). A file that cannot be
// read gives message 61729 (download.lst) or 61865 (progdata.dat) in Status::code().
struct AutoDownloadChoice {
  std::vector<std::string> stationDirs;
  station::DownloadSchedule schedule;
};
platform::Result<AutoDownloadChoice> readAutoDownload(platform::FileSystem& files,
                                                      const std::string& programDir);
// The same choice saved from outside a running program: progdata.dat is read (defaults
// when missing), changed and written back whole.
platform::Status saveAutoDownloadIn(platform::FileSystem& files, const std::string& programDir,
                                    const std::vector<std::string>& stationDirs,
                                    const std::array<bool, 24>& hours, int offsetMinutes);

// A change of the auto-download choice that names only what changes; what is left empty
// keeps its stored value.
struct AutoDownloadChange {
  std::optional<std::vector<std::string>> stationDirs;
  std::optional<std::array<bool, 24>> hours;
  std::optional<int> offsetMinutes;  // 0-59
};
// `current` with `change` applied, or the rule it breaks: hours chosen without a station
// (kBadArgument, message 64215) or listed stations without an hour (kBadArgument,
// message 64244).
platform::Result<AutoDownloadChoice> applyAutoDownloadChange(const AutoDownloadChoice& current,
                                                             const AutoDownloadChange& change);
// Reads the stored choice, applies `change` and saves the result as saveAutoDownloadIn
// does. Returns the choice now in force. A refused change writes nothing; a failed save
// carries message 64214 (download.lst) or 61702 (progdata.dat) in Status::code().
platform::Result<AutoDownloadChoice> changeAutoDownloadIn(platform::FileSystem& files,
                                                          const std::string& programDir,
                                                          const AutoDownloadChange& change);

// The open-station command: the user picks one of the stations below the program
// directory and it is opened. kCancelled when nothing was picked, kNotFound with message
// 64204 when there is none to pick.
platform::Status chooseAndOpenStation(Program& program);

}  // namespace frame
