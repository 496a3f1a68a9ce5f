#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "database/weather_database.h"
#include "platform/file_system.h"
#include "platform/status.h"
#include "station/data_sets.h"
#include "station/station_state.h"

namespace station {

// What opening a station needs from the rest of the program. The Program fills these in
// with its messages, database, rain database, serial-port manager and internet settings;
// the defaults do nothing and succeed, so a station can be opened from its files alone.
class StationOpenHooks {
 public:
  virtual ~StationOpenHooks() = default;

  // A question with OK and Cancel; true for OK. The Program answers it through its
  // messages, which take the negative answer while unattended.
  virtual bool confirm(std::string_view title, std::string_view text) = 0;
  // An error box (or an event-log line while unattended).
  virtual void showError(std::string_view text) = 0;

  // Hang up the previous station's modem call, close its link and database.
  virtual void closePreviousStation() {}
  // The conversion of an earlier version's files, after STATION.CFG was converted: the
  // old "Internet.cfg" and the old monthly files, whose originals go to `backupDir`.
  virtual platform::Status convertLegacyInternetSettings(const std::string& dir,
                                                         const std::string& backupDir);
  virtual platform::Status convertLegacyMonthFiles(const std::string& dir,
                                                   const std::string& backupDir);
  // The data sets of the catalogue; every read rebuilds them.
  virtual std::vector<DataSet> dataSets();
  // Reading the record clears the program-wide "password accepted" flag.
  virtual void clearPasswordAccepted() {}
  // The station's WeatherDatabase. A failure fails the open, after the open sequence has
  // shown "No se pudo abrir la base de datos." through showError. The services that own
  // the database open it here with openStationDatabase(), so that its failure reaches
  // that message.
  virtual platform::Status openDatabase(const std::string& dir);
  // The rain database, the console link (from linkParams-style fields of the
  // record) and the internet settings. A failure is reported by the hook itself and does
  // not fail the open.
  virtual void openRainDatabase(const std::string& dir);
  virtual void createLink(const StationConfig& config);
  virtual void loadInternetSettings(const std::string& dir);
  // For a station that is not a Cirrant, the leap-year notice (once per run; the
  // Program keeps that state).
  virtual void leapYearNotice() {}
};

// The failure code of the open when the database could not be opened (Status::code()).
inline constexpr int kStationDatabaseFailed = -3;

// Open step 6: `db` opened on the station directory. A station without month files opens
// empty (its first download creates them); a directory whose files cannot be listed
// cannot hold a database, and fails with kStationDatabaseFailed.
platform::Status openStationDatabase(platform::FileSystem& files, database::WeatherDatabase& db,
                                     const std::string& dir);

// The open sequence of a station directory:
//  - STATION.CFG of 2088 bytes (versions 5.0/5.1) is converted after the user agrees;
//    2052 or 348 bytes (3.x/4.x) is refused with the version message; any other size or
//    no file fails without a message;
//  - the subdirectories every open needs are created;
//  - the record and the lists are read ("No se pudo abrir '%s'." on failure);
//  - the database is opened ("No se pudo abrir la base de datos." shown, or logged while
//    unattended, and a failure whose code is kStationDatabaseFailed and whose message
//    starts with that text), then the rain database, link and internet settings.
// Returns the open station; on failure the caller's station (if any) has not been
// touched by this function beyond closePreviousStation().
platform::Result<StationState> openStationDirectory(platform::FileSystem& files,
                                                    const std::string& dir,
                                                    StationOpenHooks& hooks);

}  // namespace station
