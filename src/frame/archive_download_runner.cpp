#include "frame/archive_download_runner.h"

#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "database/rain_build.h"
#include "database/rain_database.h"
#include "database/weather_database.h"
#include "frame/link_error_table.h"
#include "frame/messages.h"
#include "frame/messages_download_host.h"
#include "frame/program.h"
#include "frame/station_services.h"
#include "link/download_session.h"
#include "link/station_link.h"
#include "platform/string_table.h"
#include "quantities/record_values.h"
#include "reports/clear_sky.h"
#include "station/download_text_file.h"

namespace frame {

namespace {

constexpr int kMsgNoStationToDownload = 65409;
constexpr int kMsgStationWithoutDirectory = 65410;
constexpr int kMsgNoFreeLink = 65405;
constexpr int kMsgDownloadCancelled = 65411;
constexpr int kMsgDownloadFailed = 65412;
constexpr int kMsgDownloaded = 61736;
constexpr int kMsgRecordsStored = 66200;
constexpr int kMsgRecordStored = 66201;

// Erases what a longer line left behind on the terminal.
constexpr const char* kClearToEndOfLine = "\033[K";

// The station's rain database as the download needs it: the table already loaded, the saved
// table, or, when the station has none yet, one built from its database so no earlier rain
// is left out. An unreadable file is left alone (the download then keeps no rain) rather
// than replaced.
void loadRain(database::RainDatabase& rain, database::WeatherDatabase& db,
              platform::FileSystem& files, const std::string& dir) {
  if (rain.loaded()) return;
  rain.setDirectory(dir);
  if (rain.load(dir) == 0) return;
  if (files.exists(rain.path())) return;
  (void)database::buildRainDatabase(rain, db);
}

// The clear-sky estimate kept with each record; none for a station whose position was
// never entered.
std::function<std::int16_t(const records::DateTime&, int, float)> solarEstimateFor(
    const station::StationConfig& config) {
  const std::optional<reports::ClearSkySite> site = reports::clearSkySiteFor(config);
  if (!site) return {};
  return [site = *site](const records::DateTime& when, int, float) {
    return reports::clearSkyEstimate(site, when.year, when.month, when.day, when.minutes);
  };
}

}  // namespace

DownloadResult ArchiveDownloadRunner::download(const DownloadRequest& request) {
  DownloadResult result = downloadStation(request);
  const std::string name = request.config != nullptr ? request.config->stationName() : "";
  Messages& m = program_.messages();
  if (request.logResult) {
    request.logResult(result);
  } else if (result.ok()) {
    m.LogMessage(fillText(platform::loadString(kMsgDownloaded), {name}), name);
  } else {
    if (result.linkError == 0) {
      m.LogMessage(result.status.message(), name);
    } else if (!result.linkErrorReported) {
      m.LogMessage(linkErrorText(result.linkError), name);
    }
    m.LogMessageId(kMsgDownloadFailed, name);
  }
  const std::size_t n = result.recordsStored;
  m.LogMessage(fillText(platform::loadString(n == 1 ? kMsgRecordStored : kMsgRecordsStored),
                        {std::to_string(n)}),
               name);
  return result;
}

DownloadResult ArchiveDownloadRunner::downloadStation(const DownloadRequest& request) {
  DownloadResult result;
  if (request.config == nullptr) {
    result.status = platform::Status::badArgument(platform::loadString(kMsgNoStationToDownload));
    return result;
  }
  Program& program = program_;
  platform::FileSystem& files = program.files();
  station::StationConfig& config = *request.config;
  const std::string dir = config.stationDir();
  if (dir.empty()) {
    result.status =
        platform::Status::badArgument(platform::loadString(kMsgStationWithoutDirectory));
    return result;
  }
  const bool current = &config == program.currentStation();

  // Only one link may hold a port: the real-time readings pause, and for another station
  // the open station gives up its own link for the run and opens it again on its next
  // operation.
  stationlink::RealtimePause pause(&program.realtime());
  if (!current) program.stations().closeLink();
  // Another station of a scheduled run is written here for the run: no other process may
  // write it meanwhile (the open station holds its lock already).
  platform::InstanceLock runLock;
  if (!current) {
    auto lock = lockStation(dir, &program.messages());
    if (!lock) {
      result.status = lock.status();
      return result;
    }
    runLock = std::move(*lock);
  }

  // The open station's database and rain database, or, for another station (or services
  // that keep none), the station's own for the run.
  database::WeatherDatabase* db = current ? program.stations().database() : nullptr;
  database::RainDatabase* rain = current ? program.stations().rainDatabase() : nullptr;
  std::optional<database::WeatherDatabase> ownDb;
  std::optional<database::RainDatabase> ownRain;
  if (db == nullptr) {
    ownDb.emplace(files);
    (void)ownDb->open(dir);  // an empty or new station opens with no data
    db = &*ownDb;
  }
  if (rain == nullptr) {
    ownRain.emplace(files);
    rain = &*ownRain;
  }
  loadRain(*rain, *db, files, dir);

  stationlink::ConsoleLink* link = current ? program.stations().stationLink() : nullptr;
  stationlink::ConsoleLink* ownLink = nullptr;
  if (link == nullptr) {
    ownLink = program.ports().AddPort(stationlink::portParamsFromStation(config));
    link = ownLink;
  }
  if (link == nullptr) {
    if (ownDb) (void)ownDb->close();
    result.status = platform::Status::busy(platform::loadString(kMsgNoFreeLink));
    return result;
  }

  const quantities::ValueContext values = program.conventions().values();
  MessagesDownloadHost host(program.messages());
  stationlink::DownloadContext ctx;
  ctx.link = link;
  ctx.db = db;
  ctx.rain = rain->loaded() ? rain : nullptr;
  ctx.config = &config;
  ctx.host = &host;
  ctx.values = &values;
  ctx.cancelled = request.cancelled;
  ctx.progress = request.progress;
  ctx.retryStatus = request.retryStatus;
  ctx.solarEstimate = solarEstimateFor(config);
  // A person at the interactive program's terminal sees the retries on one line that is
  // overwritten in place, and ended before the program answers the download.
  bool retryShown = false;
  std::ostream* terminal = program.interactive() ? program.out() : nullptr;
  if (!ctx.retryStatus && terminal != nullptr) {
    ctx.retryStatus = [terminal, &retryShown](const std::string& line) {
      *terminal << '\r' << line << kClearToEndOfLine << std::flush;
      retryShown = true;
    };
  }

  stationlink::DownloadOutcome outcome = stationlink::Download(ctx);
  if (retryShown) *terminal << '\n' << std::flush;
  if (ownLink != nullptr) (void)program.ports().RemovePort(ownLink);
  result.recordsStored = outcome.stored;
  result.linkError = outcome.linkError;
  result.linkErrorReported = outcome.linkErrorReported;
  result.status = outcome.status;
  platform::Status closed = ownDb ? ownDb->close() : db->flush();
  if (!closed && result.status.isOk()) result.status = closed;
  if (rain->loaded()) {
    if (platform::Status saved = rain->saveStatus(); !saved && result.status.isOk()) {
      result.status = saved;
    }
  }
  // The text file follows the stored records; it never decides the download's result.
  if (outcome.ok() && config.exportAfterDownload()) {
    if (!station::writeDownloadTextFile(files, dir, program.conventions())) {
      const std::string file = platform::joinPath(dir, station::kDownloadTextFileName);
      (void)program.messages().LogMessage("Error escribiendo " + file + " tras descargar.",
                                          config.stationName());
    }
  }

  if (outcome.cancelled && result.status.isOk() && result.linkError == 0) {
    result.status = platform::Status::cancelled(platform::loadString(kMsgDownloadCancelled));
  } else if (!outcome.ok() && result.status.isOk() && result.linkError == 0) {
    result.status = platform::Status::io(platform::loadString(kMsgDownloadFailed));
  }
  return result;
}

DownloadResult downloadOpenStation(Program& program,
                                   std::function<void(int done, int total)> progress,
                                   std::function<void(const std::string& line)> retryStatus) {
  platform::EventLoop& loop = program.loop();
  (void)loop.handleTerminationSignals([&loop](int) { loop.requestCancel(); });
  platform::UnattendedScope unattended(program.unattended());
  if (program.currentStation() == nullptr) {
    DownloadResult result;
    result.status = platform::Status::notFound("no station is open");
    return result;
  }
  DownloadRequest request;
  request.config = program.currentStation();
  request.cancelled = [&loop] { return loop.pump(); };
  request.progress = std::move(progress);
  request.retryStatus = std::move(retryStatus);
  return program.downloads()->download(request);
}

}  // namespace frame
