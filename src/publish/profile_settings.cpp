#include "publish/profile_settings.h"

#include <algorithm>
#include <cstdio>

#include "platform/string_table.h"
#include "publish/upload_text.h"

namespace publish {

namespace {

constexpr int kTooLong = 66570;
constexpr int kIntervalZero = 66571;
constexpr int kMissingFile = 66572;
constexpr int kNotInList = 66573;
constexpr int kUnknownReport = 66576;
constexpr int kYes = 66582;
constexpr int kNo = 66583;
constexpr int kProfileShow = 66584;
constexpr int kNever = 66585;
constexpr int kNone = 66586;
constexpr int kFileAdded = 66587;
constexpr int kFileRemoved = 66588;
constexpr int kFileThere = 66589;
constexpr int kBadInterval = 66590;
constexpr long kMaxInterval = 1440;

struct ReportName {
  std::string_view name;
  std::uint32_t bit;
};
constexpr ReportName kReportNames[] = {
    {"noaa-month", kReportNoaaThisMonth}, {"noaa-last-month", kReportNoaaLastMonth},
    {"noaa-year", kReportNoaaThisYear},   {"noaa-last-year", kReportNoaaLastYear},
    {"2-day", kReportTwoDayFile},         {"week", kReportWeekFile},
    {"aprs", kReportAprs},                {"wu", kReportWeatherUnderground},
};

std::string yesNo(bool v) { return platform::loadString(v ? kYes : kNo); }

std::string clockText(int minute) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
  return text;
}

std::string reportsText(std::uint32_t bits) {
  std::string out;
  for (const ReportName& r : kReportNames) {
    if (bits & r.bit) out += (out.empty() ? "" : ",") + std::string(r.name);
  }
  return out.empty() ? platform::loadString(kNone) : out;
}

}  // namespace

platform::Status applyProfileChanges(InetConfig& config, int index, const ProfileChanges& changes) {
  UploadProfile p = config.profile(index);
  using Setter = bool (UploadProfile::*)(std::string_view);
  struct TextChange {
    const std::optional<std::string>& value;
    Setter set;
    const char* option;
    std::size_t max;
  };
  namespace f = layout::profile;
  const TextChange texts[] = {
      {changes.name, &UploadProfile::setName, "--name", f::kName.maxLength},
      {changes.pageDir, &UploadProfile::setPageDir, "--page-dir", f::kPageDir.maxLength},
      {changes.currentImageDir, &UploadProfile::setCurrentImageDir, "--current-image-dir",
       f::kCurrentImageDir.maxLength},
      {changes.historyImageDir, &UploadProfile::setHistoryImageDir, "--history-image-dir",
       f::kHistoryImageDir.maxLength},
      {changes.reportDir, &UploadProfile::setReportDir, "--report-dir", f::kReportDir.maxLength},
      {changes.extension, &UploadProfile::setExtension, "--extension", f::kExtension.maxLength},
  };
  for (const TextChange& t : texts) {
    if (t.value && !(p.*t.set)(*t.value)) {
      return platform::Status::badArgument(message(kTooLong, {t.option, std::to_string(t.max)}));
    }
  }
  if (changes.interval) {
    if (*changes.interval < 0 || *changes.interval > kMaxInterval) {
      return platform::Status::badArgument(platform::loadString(kBadInterval));
    }
    p.setInterval(static_cast<std::uint16_t>(*changes.interval));
  }
  if (changes.startMinute) p.setStartMinute(static_cast<std::uint16_t>(*changes.startMinute));
  if (changes.enabled) p.setEnabled(*changes.enabled);
  if (changes.downloadFirst) p.setDownloadFirst(*changes.downloadFirst);
  if (changes.reports) p.setReports(*changes.reports);
  if (p.enabled() && p.interval() == 0) {
    return platform::Status::badArgument(platform::loadString(kIntervalZero));
  }
  config.setProfile(index, p);
  return platform::Status::ok();
}

std::optional<int> parseMinuteOfDay(std::string_view text) {
  if (text.size() != 5 || text[2] != ':') return std::nullopt;
  auto digit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
  if (!digit(0) || !digit(1) || !digit(3) || !digit(4)) return std::nullopt;
  const int hour = (text[0] - '0') * 10 + (text[1] - '0');
  const int minute = (text[3] - '0') * 10 + (text[4] - '0');
  if (hour > 23 || minute > 59) return std::nullopt;
  return hour * 60 + minute;
}

platform::Result<std::uint32_t> parseReports(std::string_view text) {
  std::uint32_t bits = 0;
  if (text == "none") return bits;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) comma = text.size();
    const std::string_view name = text.substr(start, comma - start);
    const auto* it = std::find_if(std::begin(kReportNames), std::end(kReportNames),
                                  [&](const ReportName& r) { return r.name == name; });
    if (it == std::end(kReportNames)) {
      return platform::Status::badArgument(message(kUnknownReport, {name}));
    }
    bits |= it->bit;
    start = comma + 1;
  }
  return bits;
}

std::optional<int> nextDueMinute(const UploadProfile& profile, int minuteOfDay) {
  if (!profile.enabled() || profile.interval() == 0) return std::nullopt;
  if (profile.interval() == 1) return minuteOfDay;
  const int start = profile.startMinute() % 1440;
  for (int i = 0; i < 1440; ++i) {
    const int m = (minuteOfDay + i) % 1440;
    int elapsed = m - start;
    if (elapsed < 0) elapsed += 1440;
    if (elapsed % profile.interval() == 0) return m;
  }
  return std::nullopt;
}

std::string describeProfile(const UploadProfile& p, int index, const ProfileList& list,
                            int minuteOfDay) {
  const std::optional<int> next = nextDueMinute(p, minuteOfDay);
  std::string out = message(
      kProfileShow,
      {displayName(p, index), std::to_string(index + 1), yesNo(p.enabled()),
       std::to_string(p.interval()), clockText(p.startMinute() % 1440),
       next ? clockText(*next) : platform::loadString(kNever), yesNo(p.downloadFirst()),
       p.extension(), p.pageDir(), p.currentImageDir(), p.historyImageDir(), p.reportDir(),
       reportsText(p.reports()), p.listName()});
  for (const ProfileFile& f : list.files) out += "  " + f.path + "\n";
  return out;
}

platform::Status addProfileFile(platform::FileSystem& files, const std::string& stationDir,
                                const UploadProfile& profile, int index, const std::string& path,
                                std::string& done) {
  if (!files.exists(path) || files.isDirectory(path)) {
    return platform::Status::notFound(message(kMissingFile, {path}));
  }
  if (path.find_first_of("\t\r\n") != std::string::npos) {
    return platform::Status::badArgument(message(kTooLong, {path, "-"}));
  }
  auto list = readProfileList(files, stationDir, profile);
  if (!list) return list.status();
  const std::string number = std::to_string(index + 1);
  for (const ProfileFile& f : list->files) {
    if (f.path == path) {
      done = message(kFileThere, {number, path});
      return platform::Status::ok();
    }
  }
  list->files.push_back({fileNameOf(path), path});
  if (platform::Status s = writeProfileList(files, stationDir, profile, list->files); !s) return s;
  done = message(kFileAdded, {number, path});
  return platform::Status::ok();
}

platform::Status removeProfileFile(platform::FileSystem& files, const std::string& stationDir,
                                   const UploadProfile& profile, int index,
                                   const std::string& path, std::string& done) {
  auto list = readProfileList(files, stationDir, profile);
  if (!list) return list.status();
  const std::string number = std::to_string(index + 1);
  const std::size_t before = list->files.size();
  std::erase_if(list->files, [&](const ProfileFile& f) { return f.path == path; });
  if (list->files.size() == before) {
    return platform::Status::notFound(message(kNotInList, {path, number}));
  }
  if (platform::Status s = writeProfileList(files, stationDir, profile, list->files); !s) return s;
  done = message(kFileRemoved, {number, path});
  return platform::Status::ok();
}

}  // namespace publish
