// The NOAA summaries of a station with ten years of 5-minute records (3652 days), on the
// real file system (summaries rebuilt in full), with the database open as the running program holds
// it. Goals: the yearly report under 10 ms with the stored degree days and under 50 ms by
// integration at base 64; a year's 13 reports (twelve months and the year) under 40 ms.
// The sun reports: a year's sunrise.txt under 5 ms; the sunshine hours over a year of
// 1-minute records under 100 ms.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "generated_station.h"
#include "database/summary_rebuild.h"
#include "database/weather_database.h"
#include "platform/file_system.h"
#include "quantities/user_conventions.h"
#include "reports/noaa_report.h"
#include "reports/sunrise_report.h"
#include "reports/sunshine_report.h"
#include "station/station_config.h"

namespace {

struct Station {
  std::string dir;
  std::unique_ptr<database::WeatherDatabase> db;
  quantities::UserConventions conventions;

  Station() {
    dir = bench::generatedStation("stratalog-bench-reports", 2000, 3652, true);
    platform::FileSystem& fs = platform::defaultFileSystem();
    db = std::make_unique<database::WeatherDatabase>(fs);
    if (db->openReadOnly(dir) != 0) std::abort();
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

station::StationConfig configWithBases(float heat, float cool) {
  station::StationConfig c;
  c.setStationName("Banco");
  c.setHeatBase(heat);
  c.setCoolBase(cool);
  c.setNoaaDegreeDayMethod(1);
  return c;
}

void yearReport(benchmark::State& state, const station::StationConfig& config) {
  Station& st = station();
  const reports::NoaaJob job{platform::defaultFileSystem(), *st.db, config, st.conventions};
  for (auto _ : state) {
    auto written = reports::writeNoaaYearReport(job, 2005);
    if (!written) {
      state.SkipWithError(written.status().message().c_str());
      return;
    }
  }
}

void BM_NoaaYearStoredDegreeDays(benchmark::State& state) {
  yearReport(state, configWithBases(65.0F, 65.0F));
}
BENCHMARK(BM_NoaaYearStoredDegreeDays)->Unit(benchmark::kMillisecond);

void BM_NoaaYearIntegrationBase64(benchmark::State& state) {
  yearReport(state, configWithBases(64.0F, 64.0F));
}
BENCHMARK(BM_NoaaYearIntegrationBase64)->Unit(benchmark::kMillisecond);

// Twelve monthly reports and the yearly one, with the stored degree days.
void BM_NoaaThirteenReportsOfAYear(benchmark::State& state) {
  Station& st = station();
  const station::StationConfig config = configWithBases(65.0F, 65.0F);
  const reports::NoaaJob job{platform::defaultFileSystem(), *st.db, config, st.conventions};
  const std::string monthFile = platform::joinPath(st.dir, "NOAAMO.TXT");
  for (auto _ : state) {
    for (int month = 1; month <= 12; ++month) {
      if (!reports::writeNoaaMonthReport(job, {2005, month}, monthFile)) {
        state.SkipWithError("monthly report failed");
        return;
      }
    }
    if (!reports::writeNoaaYearReport(job, 2005)) {
      state.SkipWithError("yearly report failed");
      return;
    }
  }
}
BENCHMARK(BM_NoaaThirteenReportsOfAYear)->Unit(benchmark::kMillisecond);

// The same thirteen reports computed and formatted, without the writes: the atomic
// replacement syncs each file and its directory, whose cost is the disk's.
void BM_NoaaThirteenReportTexts(benchmark::State& state) {
  Station& st = station();
  const station::StationConfig config = configWithBases(65.0F, 65.0F);
  const reports::NoaaJob job{platform::defaultFileSystem(), *st.db, config, st.conventions};
  std::size_t bytes = 0;
  for (auto _ : state) {
    for (int month = 1; month <= 12; ++month) {
      auto text = reports::noaaMonthReport(job, {2005, month});
      if (!text) {
        state.SkipWithError("monthly report failed");
        return;
      }
      bytes += text->size();
    }
    auto year = reports::noaaYearReport(job, 2005);
    if (!year) {
      state.SkipWithError("yearly report failed");
      return;
    }
    bytes += year->size();
  }
  benchmark::DoNotOptimize(bytes);
}
BENCHMARK(BM_NoaaThirteenReportTexts)->Unit(benchmark::kMillisecond);

station::StationConfig sunConfig() {
  station::StationConfig c;
  c.set(station::layout::kLatDeg, std::int16_t{37});
  c.set(station::layout::kLatMin, std::int16_t{36});
  c.set(station::layout::kLonDeg, std::int16_t{122});
  c.set(station::layout::kLonMin, std::int16_t{6});
  c.set(station::layout::kLatitude, 37.6F);
  c.set(station::layout::kLongitude, -122.1F);
  c.set(station::layout::kLonWest, std::uint8_t{1});
  c.setTimeZoneIndex(4);
  c.setGmtOffset(-8.0F);
  return c;
}

void BM_SunriseYearText(benchmark::State& state) {
  const station::StationConfig config = sunConfig();
  const platform::IntlSettings intl;
  std::size_t bytes = 0;
  for (auto _ : state) {
    auto text = reports::sunriseReportText(config, intl, {2006, 1, 1}, reports::SunRange::kYear);
    if (!text) {
      state.SkipWithError(text.status().message().c_str());
      return;
    }
    bytes += text->size();
  }
  benchmark::DoNotOptimize(bytes);
}
BENCHMARK(BM_SunriseYearText)->Unit(benchmark::kMillisecond);

// The same with the file written (and synced) into a station directory.
void BM_SunriseYearFile(benchmark::State& state) {
  const station::StationConfig config = sunConfig();
  const platform::IntlSettings intl;
  platform::FileSystem& fs = platform::defaultFileSystem();
  const std::string dir =
      (std::filesystem::temp_directory_path() / "stratalog-bench-sunrise").string();
  (void)fs.createDirectories(dir);
  for (auto _ : state) {
    if (!reports::writeSunriseReport(fs, config, intl, dir, {2006, 1, 1},
                                     reports::SunRange::kYear)) {
      state.SkipWithError("sunrise report failed");
      return;
    }
  }
  (void)fs.removeAll(dir);
}
BENCHMARK(BM_SunriseYearFile)->Unit(benchmark::kMillisecond);

// A year of 1-minute records (525,600), counted for the sunshine hours.
void BM_SunshineYearOfMinuteRecords(benchmark::State& state) {
  platform::FileSystem& fs = platform::defaultFileSystem();
  const std::string dir =
      (std::filesystem::temp_directory_path() / "stratalog-bench-sunshine").string();
  (void)fs.removeAll(dir);
  database::GeneratorOptions o;
  o.year = 2006;
  o.days = 365;
  o.intervalMinutes = 1;
  if (!database::generateStation(fs, dir, o)) {
    state.SkipWithError("generating the station failed");
    return;
  }
  database::WeatherDatabase db(fs);
  if (db.openReadOnly(dir) != 0) {
    state.SkipWithError("opening the station failed");
    return;
  }
  const reports::SunshineRequest request{{2006, 1, 1}, {2006, 12, 31}, 100};
  double total = 0;
  for (auto _ : state) {
    auto hours = reports::countSunshine(db, request);
    if (!hours) {
      state.SkipWithError(hours.status().message().c_str());
      return;
    }
    total += hours->total;
  }
  benchmark::DoNotOptimize(total);
  (void)db.close();
  (void)fs.removeAll(dir);
}
BENCHMARK(BM_SunshineYearOfMinuteRecords)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
