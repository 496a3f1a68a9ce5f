// Catching up 34 hours of one-minute records (2,040 updates) against a local stand-in for
// the update service, the station's bookkeeping saved after each accepted record.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "database/station_generator.h"
#include "database/weather_database.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/http_client.h"
#include "platform/testing/listener_process.h"
#include "publish/wu_update.h"
#include "station/station_file.h"

namespace {

void BM_WuCatchUp(benchmark::State& state) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "stratalog-bench-wu";
  fs::remove_all(dir);
  fs::create_directories(dir);
  platform::FileSystem& files = platform::defaultFileSystem();
  database::GeneratorOptions o;
  o.year = 2006;
  o.days = 2;
  o.intervalMinutes = 1;
  if (!database::generateStation(files, dir.string(), o)) std::abort();

  platform::ListenerProcess server({"/usr/bin/python3",
                                    std::string(STRATALOG_SOURCE_DIR) + "/tests/publish/wu_listener.py",
                                    (dir / "requests.log").string(), (dir / "replies.txt").string()});
  if (!server.started()) {
    state.SkipWithError("the stand-in service did not start");
    return;
  }
  ::setenv(publish::kWuAddressVariable,
           ("http://127.0.0.1:" + server.firstLine() + "/update.php?").c_str(), 1);

  station::StationConfig config;
  if (!station::writeStationRecord(files, config, dir.string())) std::abort();
  config.setStationName("Bench");
  config.setWuStationId("KXXBENCH");
  config.setWuPassword("secret");
  platform::FakeClock clock;
  clock.setLocal(2006, 1, 3);
  int sent = 0;
  for (auto _ : state) {
    // From 14:00 of the first day: the 2,040 records of the 34 hours up to the newest.
    config.setWuLastDate(publish::wuDateStamp(2006, 1, 1));
    config.setWuLastTime(840);
    database::WeatherDatabase db(files);
    (void)db.open(dir.string());
    platform::CurlHttpClient http;
    publish::WuRun run{config, db, http, clock,
                       [&](const station::StationConfig& c) {
                         return publish::saveWuBookkeeping(files, dir.string(), c);
                       },
                       [](std::string_view, std::string_view) {},
                       {}};
    const publish::WuOutcome out = publish::sendWuForRun(run);
    if (!out.ok) state.SkipWithError("a record was refused");
    sent = out.sent;
  }
  state.counters["records"] = sent;
  fs::remove_all(dir);
}

BENCHMARK(BM_WuCatchUp)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
