#pragma once

#include <array>
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
// the schedule of progdata.dat (the defaults when it is missing).
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

// The open-station command: the user picks one of the stations below the program
// directory and it is opened. kCancelled when nothing was picked, kNotFound with message
// 64204 when there is none to pick.
platform::Status chooseAndOpenStation(Program& program);

}  // namespace frame
