#pragma once

// Weather Underground updates: every archive record newer than the last one the service
// accepted, oldest first, one request each; the bookkeeping advances and is saved after
// every accepted record, so an interrupted run resumes where it stopped.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/weather_database.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/http_client.h"
#include "platform/intl_settings.h"
#include "publish/inet_config.h"
#include "publish/publish_log.h"
#include "station/station_config.h"

namespace publish {

inline constexpr std::string_view kWuServiceAddress =
    "http://weatherstation.wunderground.com/weatherstation/updateweatherstation.php?";
// Replaces the service address (for trying the updates against a local server).
inline constexpr const char* kWuAddressVariable = "STRATALOG_WU_URL";

// The address requests go to: the variable's value when it is set, else the service's.
// The environment is read once.
const std::string& wuServiceAddress();

// The console's date stamp of `wuLastDate`: (year - 2000) × 512 + month × 32 + day.
std::int16_t wuDateStamp(int year, int month, int day);

// How far back records are sent, in minutes: k days for a choice k of 1-30, else 34 hours.
int wuWindowMinutes(std::uint8_t maxDaysChoice);

// One record to send and the rain of the hour that ends with it.
struct WuRecord {
  database::WeatherDataObject record;
  std::optional<double> hourRainInches;
};

// The records to send now (`localNow` is the computer's local time), oldest first: newer
// than the last one sent and inside the window. The 60 minutes before the first feed its
// rain sum and are not sent.
std::vector<WuRecord> selectWuRecords(const station::StationConfig& config,
                                      database::WeatherDatabase& db,
                                      const platform::CivilTime& localNow);

// The request for one record: the address, the station's identity and the record's values
// that are not missing, in the service's order.
std::string buildWuRequest(std::string_view address, const station::StationConfig& config,
                           const WuRecord& item);

enum class WuJudgement { kAccepted, kAcceptedAndLogged, kRefused };
// 200 with a short word (1-8 bytes once trimmed) or a text naming a duplicate is accepted;
// anything else is refused.
WuJudgement judgeWuReply(const platform::HttpReply& reply);

// Stores the bookkeeping of `config` (the last record sent) in the station's STATION.CFG
// in place. The six bytes lie inside one disk sector, so a crash leaves the old or the new
// values and never a mix, and one data sync makes them durable; the rest of the file is
// left as it is. Cheaper than replacing the whole file, which matters when a long backlog
// is sent and the place is kept after every record.
platform::Status saveWuBookkeeping(platform::FileSystem& files, const std::string& stationDir,
                                   const station::StationConfig& config);

// The way to the service that the station's internet configuration chooses: direct, its
// proxy, or the system's settings (also for an access value the configuration does not know).
platform::HttpProxy wuProxy(const InetConfig& inet);

struct WuRun {
  station::StationConfig& config;  // its bookkeeping advances with each accepted record
  database::WeatherDatabase& db;
  platform::HttpClient& http;
  const platform::Clock& clock;
  // Saves the station's settings after each accepted record.
  std::function<platform::Status(const station::StationConfig&)> save;
  LogSink log;
  // One line per record as it is sent; may be empty.
  std::function<void(std::string_view)> progress;
  platform::IntlSettings intl{};
};

struct WuOutcome {
  bool ok = false;  // every waiting record was accepted
  int sent = 0;     // records accepted in this run
};

// Sends the waiting records. Stops at the first that is not accepted; the next run starts
// with it. The address (it holds the password) is never logged.
WuOutcome sendWuForRun(WuRun& run);

}  // namespace publish
