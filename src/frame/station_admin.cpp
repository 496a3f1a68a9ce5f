#include "frame/station_admin.h"

#include "frame/program.h"
#include "platform/string_table.h"

namespace frame {

namespace {

constexpr int kMsgChooseStationTitle = 64201;
constexpr int kMsgNoStationSelected = 64204;
constexpr int kMsgDownloadListUnreadable = 61729;
constexpr int kMsgSettingsUnreadable = 61865;
constexpr int kMsgSettingsUnsaved = 61702;

// The status with the message id that tells a person what failed, unless it has one.
platform::Status withMessageId(const platform::Status& s, int id) {
  return s.code() != 0 ? s : platform::Status(s.kind(), s.message(), id);
}

std::string settingsPath(const std::string& programDir) {
  return platform::joinPath(programDir, kProgramSettingsFileName);
}

platform::Result<ProgramSettings> settingsOrDefaults(platform::FileSystem& files,
                                                     const std::string& programDir) {
  auto read = readProgramSettings(files, settingsPath(programDir));
  if (read) return read;
  // Only a missing file means "not set up yet"; a damaged one is not silently replaced.
  if (read.status().kind() == platform::Errc::kNotFound) return ProgramSettings();
  return read.status();
}

}  // namespace

platform::Result<std::vector<station::StationEntry>> listStationsIn(StationServices& stations,
                                                                    platform::FileSystem& files,
                                                                    const std::string& parent) {
  return station::listStations(
      files, parent, [&stations](const std::string& d) { return stations.stationName(d); });
}

station::DownloadSchedule scheduleFromSettings(const ProgramSettings& settings) {
  station::DownloadSchedule s;
  for (int h = 0; h < 24; ++h) s.hours[static_cast<std::size_t>(h)] = settings.downloadInHour(h);
  s.offsetMinutes = settings.downloadMinute();
  s.autoDownload = settings.autoDownloadEnabled();
  s.lastScheduledHour = settings.lastDownloadHour();
  return s;
}

void storeScheduleInSettings(const station::DownloadSchedule& schedule, ProgramSettings& settings) {
  for (int h = 0; h < 24; ++h) {
    settings.setDownloadInHour(h, schedule.hours[static_cast<std::size_t>(h)]);
  }
  settings.setDownloadMinute(static_cast<std::int8_t>(schedule.offsetMinutes));
  settings.setAutoDownloadEnabled(schedule.autoDownload);
  settings.setLastDownloadHour(static_cast<std::int16_t>(schedule.lastScheduledHour));
}

platform::Status applyAutoDownload(platform::FileSystem& files, const std::string& programDir,
                                   ProgramSettings& settings,
                                   const std::vector<std::string>& stationDirs,
                                   const std::array<bool, 24>& hours, int offsetMinutes) {
  if (offsetMinutes < 0 || offsetMinutes > 59) {
    return platform::Status::badArgument("offset outside 0-59");
  }
  if (platform::Status s = station::writeDownloadList(files, programDir, stationDirs); !s.isOk()) {
    return platform::Status(s.kind(), s.message(), kMsgDownloadListUnwritable);
  }
  station::DownloadSchedule schedule = scheduleFromSettings(settings);
  station::applyScheduleChoice(schedule, hours, offsetMinutes, stationDirs.empty());
  storeScheduleInSettings(schedule, settings);
  return settings.save(files, settingsPath(programDir));
}

platform::Result<AutoDownloadChoice> readAutoDownload(platform::FileSystem& files,
                                                      const std::string& programDir) {
  AutoDownloadChoice choice;
  auto list = station::readDownloadList(files, programDir);
  if (list) {
    choice.stationDirs = std::move(*list);
  } else if (list.status().kind() != platform::Errc::kNotFound) {
    return withMessageId(list.status(), kMsgDownloadListUnreadable);
  }
  auto settings = settingsOrDefaults(files, programDir);
  if (!settings) return withMessageId(settings.status(), kMsgSettingsUnreadable);
  choice.schedule = scheduleFromSettings(*settings);
  return choice;
}

platform::Status saveAutoDownloadIn(platform::FileSystem& files, const std::string& programDir,
                                    const std::vector<std::string>& stationDirs,
                                    const std::array<bool, 24>& hours, int offsetMinutes) {
  auto settings = settingsOrDefaults(files, programDir);
  if (!settings) return settings.status();
  return applyAutoDownload(files, programDir, *settings, stationDirs, hours, offsetMinutes);
}

platform::Result<AutoDownloadChoice> applyAutoDownloadChange(const AutoDownloadChoice& current,
                                                             const AutoDownloadChange& change) {
  AutoDownloadChoice next = current;
  if (change.stationDirs) next.stationDirs = *change.stationDirs;
  const std::array<bool, 24> hours = change.hours ? *change.hours : current.schedule.hours;
  const int offset = change.offsetMinutes ? *change.offsetMinutes : current.schedule.offsetMinutes;
  if (offset < 0 || offset > 59) return platform::Status::badArgument("offset outside 0-59");
  // Hours chosen now need a station; hours kept from before may stay with an emptied list,
  // as the dialog keeps them when its list is emptied.
  if (change.hours) {
    if (platform::Status s = station::checkAutoDownloadChoice(next.stationDirs.size(), hours); !s) {
      return s;
    }
  }
  if (platform::Status s = station::checkHoursForList(next.stationDirs.size(), hours); !s) return s;
  station::applyScheduleChoice(next.schedule, hours, offset, next.stationDirs.empty());
  return next;
}

platform::Result<AutoDownloadChoice> changeAutoDownloadIn(platform::FileSystem& files,
                                                          const std::string& programDir,
                                                          const AutoDownloadChange& change) {
  auto current = readAutoDownload(files, programDir);
  if (!current) return current.status();
  auto next = applyAutoDownloadChange(*current, change);
  if (!next) return next.status();
  platform::Status s = saveAutoDownloadIn(files, programDir, next->stationDirs,
                                          next->schedule.hours, next->schedule.offsetMinutes);
  if (!s.isOk()) return withMessageId(s, kMsgSettingsUnsaved);
  return readAutoDownload(files, programDir);
}

platform::Status chooseAndOpenStation(Program& program) {
  auto stations = program.listStations();
  if (!stations) return stations.status();
  if (stations->empty()) {
    program.messages().ShowError(kMsgNoStationSelected);
    return platform::Status(platform::Errc::kNotFound, "no station below the program directory",
                            kMsgNoStationSelected);
  }
  std::vector<std::string> names;
  for (const auto& s : *stations) names.push_back(s.name);
  std::string title = platform::loadString(kMsgChooseStationTitle);
  auto pick = program.ui().choose(title, title, names);
  if (!pick || *pick >= stations->size()) return platform::Status::cancelled("no station chosen");
  return program.openStation((*stations)[*pick].directory);
}

}  // namespace frame
