#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"

namespace station {

// The station list of the automatic download, one directory path per line.
inline constexpr std::string_view kDownloadListName = "download.lst";

// The automatic-download schedule as the program settings keep it.
struct DownloadSchedule {
  std::array<bool, 24> hours{};  // download in hour 0 ... 23
  int offsetMinutes = 5;         // minutes after the full hour, 0-59
  bool autoDownload = false;     // list not empty and at least one hour chosen
  int lastScheduledHour = -1;    // hour of the last scheduled run, -1 = none
  bool operator==(const DownloadSchedule&) const = default;
};

// How long after its minute a scheduled hour stays due.
inline constexpr int kScheduleWindowMinutes = 10;

// The schedule check. `minutesNow` is the time of day in minutes after midnight. The
// first hour whose window [60h + offset, 60h + offset + 10) holds the time and which is
// not the last scheduled hour opens a new window: lastScheduledHour becomes -1, and the
// hour is returned when it is chosen. The caller sets lastScheduledHour to the hour once
// the run is over, so a window runs once.
std::optional<int> checkSchedule(DownloadSchedule& schedule, int minutesNow);

// Applies the choices of the auto-download setup: hours and offset, then autoDownload
// (list not empty and an hour chosen) and, when on, a fresh lastScheduledHour.
void applyScheduleChoice(DownloadSchedule& schedule, const std::array<bool, 24>& hours,
                         int offsetMinutes, bool listEmpty);

// True when no hour is chosen.
bool noHourChosen(const std::array<bool, 24>& hours);

// An hour list as a person types it: "7,19", "6-18", "0-5,20-23", "all" or "none"; nothing for
// anything else (an hour outside 0-23, a range running backwards, stray text).
std::optional<std::array<bool, 24>> parseHourList(std::string_view text);

// The auto-download choice may not select hours without a station to download: kBadArgument
// with message id 64215 ("select stations first") in Status::code().
platform::Status checkAutoDownloadChoice(std::size_t stationCount,
                                         const std::array<bool, 24>& hours);

// A choice made without the dialog's question may not list stations with no hour chosen,
// which would switch the automatic download off unasked: kBadArgument with message id
// 64244 in Status::code().
platform::Status checkHoursForList(std::size_t stationCount, const std::array<bool, 24>& hours);

// Reads an offset as typed: kBadArgument with message id 64207 (not a number) or 64208
// (outside 0-59) in Status::code().
platform::Result<int> parseOffsetMinutes(std::string_view text);

// download.lst: read and written in the program directory. Lines are taken whole,
// whatever their length; CRLF and a missing last line feed are accepted; empty lines
// are skipped.
platform::Result<std::vector<std::string>> readDownloadList(platform::FileSystem& files,
                                                            const std::string& programDir);
// Replaces download.lst atomically: one path per line, each ended by a line feed.
platform::Status writeDownloadList(platform::FileSystem& files, const std::string& programDir,
                                   const std::vector<std::string>& paths);
// Rewrites download.lst without the lines equal to `stationDir`. A missing list is fine.
platform::Status removeFromDownloadList(platform::FileSystem& files, const std::string& programDir,
                                        const std::string& stationDir);
// Rewrites download.lst with `to` in place of every line equal to `from` (a station whose
// directory was renamed). A missing list is fine.
platform::Status renameInDownloadList(platform::FileSystem& files, const std::string& programDir,
                                      const std::string& from, const std::string& to);

// The order of a scheduled run: the current station first when it is listed, the
// others in list order.
std::vector<std::string> orderForRun(const std::vector<std::string>& list,
                                     const std::string& currentStationDir);

}  // namespace station
