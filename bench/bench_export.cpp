// The exports of a year of 5-minute records (105,120 records) on the real file system.
// Goals: the GLOBE file with soil lines under 0.5 s; the text export under 0.3 s.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "generated_station.h"
#include "database/weather_database.h"
#include "platform/file_system.h"
#include "quantities/user_conventions.h"
#include "reports/export_globe.h"
#include "reports/export_lines.h"
#include "reports/export_selection.h"
#include "station/data_lists.h"
#include "station/data_sets.h"
#include "station/station_state.h"

namespace {

struct Station {
  std::string dir;
  std::unique_ptr<database::WeatherDatabase> db;
  station::StationState state;
  quantities::UserConventions conventions;
  std::vector<reports::DayRecords> year;

  Station() {
    dir = bench::generatedStation("stratalog-bench-export", 2005, 365, false);
    platform::FileSystem& fs = platform::defaultFileSystem();
    db = std::make_unique<database::WeatherDatabase>(fs);
    if (db->openReadOnly(dir) != 0) std::abort();
    state.config.setStationDir(dir);
    state.config.setGmtOffset(-8);
    // The station's own sensors (the default model's) choose the first data list's
    // columns; the GLOBE soil lines are written whatever the sensors.
    state.dataSets = station::stationDataSets();
    state.dataLists = station::buildDefaultDataLists(state.config);
    reports::ExportSelection s;
    s.years = {2005};
    year = reports::selectedDays(*db, s);
  }
  ~Station() {
    (void)db->close();
    (void)platform::defaultFileSystem().removeAll(dir);
  }
};

Station& station() {
  static Station s;
  return s;
}

void BM_GlobeYearWithSoil(benchmark::State& state) {
  Station& st = station();
  const reports::GlobeJob job{*st.db, st.state.config, st.conventions, {"ESC1", "SIT1", "SUE1", true},
                              reports::globeClock(st.state.config, std::nullopt)};
  for (auto _ : state) {
    if (!reports::writeGlobeFile(platform::defaultFileSystem(), job, st.year)) {
      state.SkipWithError("GLOBE export failed");
      return;
    }
  }
}
BENCHMARK(BM_GlobeYearWithSoil)->Unit(benchmark::kMillisecond);

void BM_TextExportYear(benchmark::State& state) {
  Station& st = station();
  const reports::ExportJob job{*st.db, st.state, st.conventions};
  for (auto _ : state) {
    if (!reports::writeExportFile(platform::defaultFileSystem(), job, st.year,
                                  reports::Midnight::k00)) {
      state.SkipWithError("text export failed");
      return;
    }
  }
}
BENCHMARK(BM_TextExportYear)->Unit(benchmark::kMillisecond);

// The lines of the text export without the write: the atomic replacement syncs the file
// and its directory, whose cost is the disk's.
void BM_TextExportLinesYear(benchmark::State& state) {
  Station& st = station();
  const reports::ExportJob job{*st.db, st.state, st.conventions};
  for (auto _ : state) {
    auto text = reports::exportLines(job, st.year, reports::ExportLayout::kDelimited,
                                     reports::Midnight::k00);
    if (!text) {
      state.SkipWithError("text export failed");
      return;
    }
    state.counters["bytes"] = static_cast<double>(text->size());
  }
}
BENCHMARK(BM_TextExportLinesYear)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
