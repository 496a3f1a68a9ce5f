// Rebuilding every daily summary and building the rain database of a station with ten
// years of 5-minute records (3652 days, 1,051,776 archive records), on the real file
// system. Goals: rebuild under 1 s, rain database under 0.5 s. Each run opens the station,
// does the work, and closes it (which brings the rewritten month files to the disk).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "generated_station.h"
#include "database/rain_build.h"
#include "database/summary_rebuild.h"
#include "database/weather_database.h"
#include "platform/file_system.h"

namespace {

struct Station {
  std::string dir;
  quantities::Units units;
  platform::IntlSettings intl;
  quantities::ValueContext ctx{units, intl, 1.0};

  Station() {
    dir = bench::generatedStation("stratalog-bench-summaries", 2000, 3652, false);
  }
  ~Station() { (void)platform::defaultFileSystem().removeAll(dir); }
};

Station& station() {
  static Station s;
  return s;
}

void BM_RebuildAllSummaries(benchmark::State& state) {
  Station& st = station();
  platform::FileSystem& fs = platform::defaultFileSystem();
  for (auto _ : state) {
    database::WeatherDatabase db(fs);
    (void)db.open(st.dir);
    const int records = db.NumberOfRecordsInDataBase();
    auto report = database::rebuildAllSummaries(db, st.ctx);
    if (!report || !report->problems.empty() || !db.close()) {
      state.SkipWithError("rebuild failed");
      return;
    }
    state.counters["records"] = records;
    state.counters["days"] = report->days;
  }
}
BENCHMARK(BM_RebuildAllSummaries)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BuildRainDatabase(benchmark::State& state) {
  Station& st = station();
  platform::FileSystem& fs = platform::defaultFileSystem();
  for (auto _ : state) {
    database::WeatherDatabase db(fs);
    (void)db.open(st.dir);
    database::RainDatabase rain(fs);
    rain.setDirectory(st.dir);
    if (!database::buildRainDatabase(rain, db) || !db.close()) {
      state.SkipWithError("build failed");
      return;
    }
    state.counters["years"] = rain.yearCount();
  }
}
BENCHMARK(BM_BuildRainDatabase)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
