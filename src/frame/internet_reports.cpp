#include "frame/internet_reports.h"

#include "database/summary_values.h"
#include "database/weather_database.h"
#include "frame/program.h"
#include "link/console_link.h"
#include "link/realtime_manager.h"
#include "platform/http_client.h"
#include "platform/tcp_client.h"
#include "publish/aprs_send.h"
#include "publish/inet_config.h"

namespace frame {

namespace {

// The day's rain of a daily summary.
constexpr quantities::SensorCode kDailyRain = 0x52440;

publish::LogSink eventLogSink(Program& program) {
  return [&program](std::string_view message, std::string_view title) {
    (void)program.eventLog().append(message, title);
  };
}

}  // namespace

AprsExtras gatherAprsExtras(Program& program) {
  AprsExtras extras;
  const station::StationConfig* config = program.currentStation();
  if (config == nullptr) return extras;
  if (config->isCirrant()) {
    if (stationlink::ConsoleLink* link = program.stations().stationLink()) {
      if (auto data = link->ReadBarometerData()) extras.barometerData = *data;
    }
  } else if (database::WeatherDatabase* db = program.stations().database()) {
    const platform::CivilTime today = program.clock().localNow();
    database::DailySummaryObject summary;
    if (db->GetDailySummary(summary, today.year, today.month, today.day) == database::kResultOk) {
      const double rain = database::summaryValue(summary, kDailyRain);
      if (rain != quantities::kNoDataValue) extras.todayRainInches = rain;
    }
  }
  if (program.realtime().running()) {
    const stationlink::WindHistory& history = program.realtime().windHistory();
    extras.wind = publish::HistoryWind{history.average(2), history.highest(10)};
  }
  return extras;
}

bool sendAprsFromProgram(Program& program, const stationlink::SensorImage& image) {
  const station::StationConfig* config = program.currentStation();
  if (config == nullptr) return false;
  const AprsExtras extras = gatherAprsExtras(program);
  return publish::sendAprsForRun(*config, image, extras.wind, extras.barometerData,
                                 extras.todayRainInches, program.clock(),
                                 platform::systemTcpClient(), eventLogSink(program));
}

publish::WuOutcome sendWuFromProgram(Program& program,
                                     std::function<void(std::string_view)> progress) {
  station::StationConfig* current = program.currentStation();
  database::WeatherDatabase* db = program.stations().database();
  if (current == nullptr || db == nullptr) return {};
  station::StationConfig config = *current;
  platform::HttpProxy proxy;
  if (auto inet = publish::loadInetConfig(program.files(), program.currentStationDir()))
    proxy = publish::wuProxy(inet->config);
  platform::CurlHttpClient http(proxy);
  publish::WuRun run{config,
                     *db,
                     http,
                     program.clock(),
                     [&program](const station::StationConfig& c) {
                       // Someone else's edit is taken in first, so that it is not
                       // mistaken for the program's own write below.
                       program.adoptOutsideChanges();
                       program.currentStation()->setWuLastDate(c.wuLastDate());
                       program.currentStation()->setWuLastTime(c.wuLastTime());
                       platform::Status saved = publish::saveWuBookkeeping(
                           program.files(), program.currentStationDir(), c);
                       if (saved.isOk()) program.stationFileWrittenInPlace();
                       return saved;
                     },
                     eventLogSink(program),
                     std::move(progress),
                     program.dateStyle()};
  return publish::sendWuForRun(run);
}

}  // namespace frame
