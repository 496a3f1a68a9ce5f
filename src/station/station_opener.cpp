#include "station/station_opener.h"

#include "platform/string_table.h"
#include "station/legacy_conversion.h"
#include "station/message_text.h"
#include "station/station_file.h"
#include "station/station_text_ids.h"
#include "station/station_tree.h"

namespace station {

platform::Status StationOpenHooks::convertLegacyInternetSettings(const std::string&,
                                                                 const std::string&) {
  return platform::Status::ok();
}
platform::Status StationOpenHooks::convertLegacyMonthFiles(const std::string&, const std::string&) {
  return platform::Status::ok();
}
std::vector<DataSet> StationOpenHooks::dataSets() { return stationDataSets(); }
platform::Status StationOpenHooks::openDatabase(const std::string&) {
  return platform::Status::ok();
}
void StationOpenHooks::openRainDatabase(const std::string&) {}
void StationOpenHooks::createLink(const StationConfig&) {}
void StationOpenHooks::loadInternetSettings(const std::string&) {}

platform::Status openStationDatabase(platform::FileSystem& files, database::WeatherDatabase& db,
                                     const std::string& dir) {
  // The database reads an unlistable directory as one without months; here that must
  // fail, or the station would look empty and its first download would start it afresh.
  if (auto listing = files.listDirectory(dir); !listing.isOk()) {
    return platform::Status(listing.status().kind(), listing.status().message(),
                            kStationDatabaseFailed);
  }
  (void)db.open(dir);  // 0 with months, -2 without: both are an open database
  if (!db.isOpen()) {
    return platform::Status(platform::Errc::kIo, dir + ": the database did not open",
                            kStationDatabaseFailed);
  }
  return platform::Status::ok();
}

namespace {

// Steps 2 of the open: an earlier version's file is converted when the user agrees.
platform::Status convertIfOld(platform::FileSystem& files, const std::string& dir,
                              StationOpenHooks& hooks) {
  auto size = stationFileSize(files, dir);
  if (!size.isOk())
    return platform::Status(size.status().kind(), size.status().message(), kStationReadFailed);
  if (*size == StationConfig::kSize) return platform::Status::ok();
  const std::string title = platform::loadString(text::kWarningTitle);
  const std::string tail =
      platform::loadString(text::kConvertQuestion) + platform::loadString(text::kBackupNote);
  if (*size == kLegacy50FileSize) {
    if (!hooks.confirm(title, platform::loadString(text::kFoundVersion50) + tail)) {
      return platform::Status(platform::Errc::kCancelled, dir + ": conversion declined",
                              kStationReadFailed);
    }
    auto converted = convertLegacy50StationFile(files, dir);
    if (!converted.isOk()) {
      return platform::Status(converted.status().kind(), converted.status().message(),
                              kStationReadFailed);
    }
    const std::string backup = platform::joinPath(dir, kBackupDir);
    if (platform::Status s = hooks.convertLegacyInternetSettings(dir, backup); !s.isOk()) return s;
    return hooks.convertLegacyMonthFiles(dir, backup);
  }
  if (*size == kLegacy4xFileSize || *size == kLegacy3xFileSize) {
    // The layouts of those versions are not known well enough to convert them safely.
    hooks.showError(platform::loadString(text::kFoundVersion4x));
    return platform::Status(platform::Errc::kUnsupported, dir + ": station of version 3.x or 4.x",
                            kStationReadFailed);
  }
  return platform::Status(platform::Errc::kCorrupt, stationFilePath(dir) + ": not a station file",
                          kStationWrongSize);
}

}  // namespace

platform::Result<StationState> openStationDirectory(platform::FileSystem& files,
                                                    const std::string& dir,
                                                    StationOpenHooks& hooks) {
  hooks.closePreviousStation();
  if (platform::Status s = convertIfOld(files, dir, hooks); !s.isOk()) return s;
  if (platform::Status s = ensureOpenTree(files, dir); !s.isOk()) return s;

  auto state = loadStation(files, dir, hooks.dataSets());
  if (!state.isOk()) {
    hooks.showError(messageText(text::kCannotOpen, {dir}));
    return state.status();
  }
  hooks.clearPasswordAccepted();
  if (platform::Status s = hooks.openDatabase(dir); !s.isOk()) {
    const std::string text = platform::loadString(text::kCannotOpenDatabase);
    hooks.showError(text);
    return platform::Status(s.kind(), text + " " + s.message(), kStationDatabaseFailed);
  }
  hooks.openRainDatabase(dir);
  hooks.createLink(state->config);
  hooks.loadInternetSettings(dir);
  if (!state->config.isCirrant()) hooks.leapYearNotice();
  return state;
}

}  // namespace station
