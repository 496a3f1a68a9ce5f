#include "station/schedule.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace station {

namespace {

constexpr int kOffsetNotANumber = 64207;
constexpr int kOffsetOutOfRange = 64208;

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<int> checkSchedule(DownloadSchedule& schedule, int minutesNow) {
  for (int h = 0; h < 24; ++h) {
    int d = minutesNow - (60 * h + schedule.offsetMinutes);
    if (d < 0 || d >= kScheduleWindowMinutes || h == schedule.lastScheduledHour) continue;
    schedule.lastScheduledHour = -1;
    if (schedule.hours[static_cast<std::size_t>(h)]) return h;
    return std::nullopt;
  }
  return std::nullopt;
}

bool noHourChosen(const std::array<bool, 24>& hours) {
  return std::none_of(hours.begin(), hours.end(), [](bool b) { return b; });
}

void applyScheduleChoice(DownloadSchedule& schedule, const std::array<bool, 24>& hours,
                         int offsetMinutes, bool listEmpty) {
  schedule.hours = hours;
  schedule.offsetMinutes = offsetMinutes;
  if (!listEmpty && !noHourChosen(hours)) {
    schedule.lastScheduledHour = -1;
    schedule.autoDownload = true;
  } else {
    schedule.autoDownload = false;
  }
}

platform::Result<int> parseOffsetMinutes(std::string_view text) {
  std::string_view t = trim(text);
  int value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) {
    return platform::Status(platform::Errc::kBadArgument,
                            "offset '" + std::string(text) + "' is not a number",
                            kOffsetNotANumber);
  }
  if (value < 0 || value > 59) {
    return platform::Status(platform::Errc::kBadArgument,
                            "offset " + std::to_string(value) + " is outside 0-59",
                            kOffsetOutOfRange);
  }
  return value;
}

platform::Result<std::vector<std::string>> readDownloadList(platform::FileSystem& files,
                                                            const std::string& programDir) {
  auto text = files.readFile(platform::joinPath(programDir, kDownloadListName));
  if (!text) return text.status();
  std::vector<std::string> paths;
  std::string_view rest = *text;
  while (!rest.empty()) {
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) paths.emplace_back(line);
  }
  return paths;
}

platform::Status writeDownloadList(platform::FileSystem& files, const std::string& programDir,
                                   const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& p : paths) {
    // A line feed inside a path would split it into two entries on the next read.
    if (p.find('\n') != std::string::npos || p.find('\r') != std::string::npos) {
      return platform::Status::badArgument("station path holds a line break: " + p);
    }
    text += p;
    text += '\n';
  }
  return files.replaceFileAtomically(platform::joinPath(programDir, kDownloadListName), text);
}

platform::Status removeFromDownloadList(platform::FileSystem& files, const std::string& programDir,
                                        const std::string& stationDir) {
  auto list = readDownloadList(files, programDir);
  if (!list) {
    if (list.status().kind() == platform::Errc::kNotFound) return platform::Status::ok();
    return list.status();
  }
  std::vector<std::string> kept;
  for (const std::string& p : *list) {
    if (p != stationDir) kept.push_back(p);
  }
  if (kept.size() == list->size()) return platform::Status::ok();
  return writeDownloadList(files, programDir, kept);
}

platform::Status renameInDownloadList(platform::FileSystem& files, const std::string& programDir,
                                      const std::string& from, const std::string& to) {
  auto list = readDownloadList(files, programDir);
  if (!list) {
    if (list.status().kind() == platform::Errc::kNotFound) return platform::Status::ok();
    return list.status();
  }
  bool changed = false;
  for (std::string& p : *list) {
    if (p == from) {
      p = to;
      changed = true;
    }
  }
  return changed ? writeDownloadList(files, programDir, *list) : platform::Status::ok();
}

std::vector<std::string> orderForRun(const std::vector<std::string>& list,
                                     const std::string& currentStationDir) {
  std::vector<std::string> ordered;
  bool listed = !currentStationDir.empty() &&
                std::find(list.begin(), list.end(), currentStationDir) != list.end();
  if (listed) ordered.push_back(currentStationDir);
  for (const std::string& p : list) {
    if (listed && p == currentStationDir) continue;
    ordered.push_back(p);
  }
  return ordered;
}

std::optional<std::array<bool, 24>> parseHourList(std::string_view text) {
  std::array<bool, 24> hours{};
  if (text == "all") {
    hours.fill(true);
    return hours;
  }
  if (text == "none") return hours;
  std::stringstream in{std::string(text)};
  std::string item;
  while (std::getline(in, item, ',')) {
    int from = 0, to = 0;
    char dash = 0;
    std::stringstream one(item);
    if (!(one >> from)) return std::nullopt;
    to = from;
    if (one >> dash) {
      if (dash != '-' || !(one >> to)) return std::nullopt;
    }
    std::string extra;
    if (one >> extra) return std::nullopt;
    if (from < 0 || to > 23 || from > to) return std::nullopt;
    for (int h = from; h <= to; ++h) hours[static_cast<std::size_t>(h)] = true;
  }
  return hours;
}

platform::Status checkAutoDownloadChoice(std::size_t stationCount,
                                         const std::array<bool, 24>& hours) {
  constexpr int kMsgSelectStationsFirst = 64215;
  if (stationCount == 0 && !noHourChosen(hours)) {
    return platform::Status(platform::Errc::kBadArgument, "no station is selected",
                            kMsgSelectStationsFirst);
  }
  return platform::Status::ok();
}

platform::Status checkHoursForList(std::size_t stationCount, const std::array<bool, 24>& hours) {
  constexpr int kMsgListWithoutHours = 64244;
  if (stationCount != 0 && noHourChosen(hours)) {
    return platform::Status(platform::Errc::kBadArgument,
                            "stations are listed but no hour is chosen", kMsgListWithoutHours);
  }
  return platform::Status::ok();
}

}  // namespace station
