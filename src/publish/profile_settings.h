#pragma once

// Changing and showing an upload profile as a person does it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/status.h"
#include "publish/inet_config.h"
#include "publish/profile_list.h"

namespace publish {

// What to change; fields left empty stay as they are.
struct ProfileChanges {
  std::optional<std::string> name;
  std::optional<std::string> pageDir;
  std::optional<std::string> currentImageDir;
  std::optional<std::string> historyImageDir;
  std::optional<std::string> reportDir;
  std::optional<std::string> extension;
  std::optional<long> interval;     // minutes
  std::optional<int> startMinute;   // of the day
  std::optional<bool> enabled;
  std::optional<bool> downloadFirst;
  std::optional<std::uint32_t> reports;
};

// Applies every change to profile `index` or none: kBadArgument with the reason (a text
// too long for its field, an interval outside 0-1440, scheduling switched on with an
// interval of 0), `config` then unchanged.
platform::Status applyProfileChanges(InetConfig& config, int index, const ProfileChanges& changes);

// "HH:MM" as a minute of the day.
std::optional<int> parseMinuteOfDay(std::string_view text);
// A comma-separated list of report names ("noaa-month", ..., "none") as selection bits.
platform::Result<std::uint32_t> parseReports(std::string_view text);

// The first minute at or after `minuteOfDay` at which the profile is due; nullopt when it
// never is (not scheduled, interval 0).
std::optional<int> nextDueMinute(const UploadProfile& profile, int minuteOfDay);

// The profile for people: schedule, next run after `minuteOfDay`, reports and files.
std::string describeProfile(const UploadProfile& profile, int index, const ProfileList& list,
                            int minuteOfDay);

// Adds `path` (an existing file) to the profile's list, or takes it out. kNotFound for a
// file that does not exist or is not in the list; the list file is then unchanged.
platform::Status addProfileFile(platform::FileSystem& files, const std::string& stationDir,
                                const UploadProfile& profile, int index, const std::string& path,
                                std::string& done);
platform::Status removeProfileFile(platform::FileSystem& files, const std::string& stationDir,
                                   const UploadProfile& profile, int index,
                                   const std::string& path, std::string& done);

}  // namespace publish
