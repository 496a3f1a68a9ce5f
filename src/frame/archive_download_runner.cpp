#include "frame/archive_download_runner.h"

#include <optional>
#include <string>
#include <utility>

#include "database/rain_build.h"
#include "database/rain_database.h"
#include "database/weather_database.h"
#include "frame/program.h"
#include "link/download_session.h"
#include "link/download_text_file.h"
#include "link/serial_port_manager.h"
#include "link/station_link.h"
#include "quantities/record_values.h"
#include "reports/clear_sky.h"

namespace frame {

namespace {

// The station's rain database as the download needs it: the saved table, or, when the
// station has none yet, one built from its database so no earlier rain is left out.
// An unreadable file is left alone (the download then keeps no rain) rather than replaced.
void loadRain(database::RainDatabase& rain, database::WeatherDatabase& db,
              platform::FileSystem& files, const std::string& dir) {
  rain.setDirectory(dir);
  if (rain.load(dir) == 0) return;
  if (files.exists(rain.path())) return;
  (void)database::buildRainDatabase(rain, db);
}

// The clear-sky estimate kept with each record; none for a station whose position was
// never entered (-500 stands for an unset latitude or longitude).
std::function<std::int16_t(const records::DateTime&, int, float)> solarEstimateFor(
    const station::StationConfig& config) {
  constexpr float kUnset = -500.0F;
  if (config.latitude() == kUnset || config.longitude() == kUnset) return {};
  const reports::ClearSkySite site{config.latitude(), config.longitude(), config.gmtOffset(),
                                   static_cast<double>(config.elevation())};
  return [site](const records::DateTime& when, int, float) {
    return reports::clearSkyEstimate(site, when.year, when.month, when.day, when.minutes);
  };
}

}  // namespace

ArchiveDownloadRunner::ArchiveDownloadRunner(platform::Env env, std::function<Program*()> program)
    : env_(env), program_(std::move(program)) {}

DownloadResult ArchiveDownloadRunner::download(const DownloadRequest& request) {
  DownloadResult result;
  Program* program = program_ ? program_() : nullptr;
  if (program == nullptr || request.config == nullptr) {
    result.status = platform::Status::unsupported("no program is running the download");
    return result;
  }
  station::StationConfig& config = *request.config;
  const std::string dir = config.stationDir();
  if (dir.empty()) {
    result.status = platform::Status::badArgument("the station has no directory");
    return result;
  }

  // Only one link may hold a port: the real-time readings pause, and the open station
  // gives up its own link for the run and opens it again on its next operation.
  stationlink::RealtimePause pause(&program->realtime());
  program->stations().closeLink();

  database::WeatherDatabase db(*env_.files);
  (void)db.open(dir);  // an empty or new station opens with no data
  database::RainDatabase rain(*env_.files);
  loadRain(rain, db, *env_.files, dir);

  Messages& messages = program->messages();
  stationlink::LinkServices services;
  services.opener = env_.serialPorts;
  services.clock = env_.clock;
  services.reportLine = [&messages](std::string_view source, std::string_view line) {
    (void)messages.LogMessage(line, source);
  };
  stationlink::SerialPortManager ports(services);
  stationlink::ConsoleLink* link = ports.AddPort(stationlink::portParamsFromStation(config));
  if (link == nullptr) {
    (void)db.close();
    result.status = platform::Status::busy("no console link is free for the station");
    return result;
  }

  quantities::ValueContext values{program->units(), program->dateStyle()};

  stationlink::DownloadContext ctx;
  ctx.link = link;
  ctx.db = &db;
  ctx.rain = rain.loaded() ? &rain : nullptr;
  ctx.config = &config;
  ctx.messages = &messages;
  ctx.values = &values;
  ctx.cancelled = request.cancelled;
  ctx.progress = progress_;
  ctx.solarEstimate = solarEstimateFor(config);

  stationlink::DownloadOutcome outcome = stationlink::Download(ctx);
  ports.RemoveAll();
  result.recordsStored = outcome.stored;
  result.linkError = outcome.linkError;
  result.status = outcome.status;
  if (platform::Status closed = db.close(); !closed && result.status.isOk()) {
    result.status = closed;
  }
  if (rain.loaded()) {
    if (platform::Status saved = rain.saveStatus(); !saved && result.status.isOk()) {
      result.status = saved;
    }
  }
  // The text file follows the stored records; it never decides the download's result.
  if (outcome.ok() && config.exportAfterDownload()) {
    if (!stationlink::writeDownloadTextFile(*env_.files, dir, program->programDirectory())) {
      const std::string file = platform::joinPath(dir, stationlink::kDownloadTextFileName);
      (void)messages.LogMessage("Error escribiendo " + file + " tras descargar.",
                                config.stationName());
    }
  }

  if (outcome.cancelled && result.status.isOk() && result.linkError == 0) {
    result.status = platform::Status::cancelled("the download was cancelled");
  } else if (!outcome.ok() && result.status.isOk() && result.linkError == 0) {
    result.status = platform::Status::io("the download failed");
  }
  return result;
}

DownloadResult downloadOpenStation(Program& program, const platform::Env& env,
                                   std::function<void(int done, int total)> progress) {
  DownloadResult result;
  if (program.currentStation() == nullptr) {
    result.status = platform::Status::notFound("no station is open");
    return result;
  }
  ArchiveDownloadRunner runner(env, [&program] { return &program; });
  runner.setProgress(std::move(progress));
  platform::EventLoop& loop = program.loop();
  (void)loop.handleTerminationSignals([&loop](int) { loop.requestCancel(); });
  DownloadRequest request;
  request.config = program.currentStation();
  request.currentStation = true;
  request.cancelled = [&loop] { return loop.pump(); };
  platform::UnattendedScope unattended(program.unattended());
  return runner.download(request);
}

std::unique_ptr<DownloadRunner> makeArchiveDownloadRunner(platform::Env env) {
  return std::make_unique<ArchiveDownloadRunner>(env, [] { return currentProgram(); });
}

}  // namespace frame
