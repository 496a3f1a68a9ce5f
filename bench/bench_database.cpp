// The station database on the real file system. A year of 1-minute records (525,600
// archive records in 12 month files). Goals: sequential reading at least 10 million
// records per second on a warm cache; appending at least 500,000 records per second with
// the header on disk current after every append; opening ten years of month files
// under 20 ms; memory flat as the database grows (peak and current RSS are reported).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "database/station_generator.h"
#include "database/weather_database.h"
#include "platform/file_system.h"

namespace {

std::string benchDir(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

// VmRSS or VmHWM from /proc/self/status, in kB.
double statusKb(const std::string& key) {
  std::ifstream in("/proc/self/status");
  std::string word;
  while (in >> word) {
    if (word == key + ":") {
      double kb = 0;
      in >> kb;
      return kb;
    }
  }
  return 0;
}

void reportMemory(benchmark::State& state) {
  state.counters["rss_kB"] = statusKb("VmRSS");
  state.counters["peak_rss_kB"] = statusKb("VmHWM");
}

database::GeneratorOptions yearOfMinutes() {
  database::GeneratorOptions o;
  o.year = 2006;
  o.month = 1;
  o.day = 1;
  o.days = 365;
  o.intervalMinutes = 1;
  return o;
}

const std::string& yearStation() {
  static const std::string dir = [] {
    const std::string d = benchDir("stratalog-bench-db-year");
    platform::FileSystem& fs = platform::defaultFileSystem();
    (void)fs.removeAll(d);
    if (!database::generateStation(fs, d, yearOfMinutes())) std::abort();
    return d;
  }();
  return dir;
}

void BM_ReadYearWithGetNextRecord(benchmark::State& state) {
  const std::string& dir = yearStation();
  database::WeatherDatabase db(platform::defaultFileSystem());
  if (db.open(dir) != database::kResultOk) state.SkipWithError("cannot open the station");
  std::int64_t records = 0;
  database::WeatherDataObject obj;
  for (auto _ : state) {
    for (int i = 0; i < db.NumberOfMonthsInDatabase(); ++i) {
      const database::MonthEntry& m = db.months()[static_cast<std::size_t>(i)];
      // From the month's first day with data to the end of its file.
      for (int d = 1; d <= 31 && db.Goto(m.month, d, m.year) < 0; ++d) {
      }
      while (db.GetNextRecord(obj) == database::kResultOk) ++records;
    }
    benchmark::DoNotOptimize(obj);
  }
  state.SetItemsProcessed(records);
  state.counters["records_per_s"] =
      benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
  reportMemory(state);
}
BENCHMARK(BM_ReadYearWithGetNextRecord)->Unit(benchmark::kMillisecond);

// The records of a day are made once, outside the timing, so that only the appends
// (and the two summary writes per day) are measured.
void BM_AppendYear(benchmark::State& state) {
  platform::FileSystem& fs = platform::defaultFileSystem();
  const std::string dir = benchDir("stratalog-bench-db-append");
  std::vector<records::ArchiveRecord> dayRecords;
  for (int t = 1; t <= 1440; ++t) {
    dayRecords.push_back(database::generatedRecord(records::DateTime::fromDate(2006, 6, 1), t, 1));
  }
  std::int64_t records = 0;
  for (auto _ : state) {
    state.PauseTiming();
    (void)fs.removeAll(dir);
    (void)fs.createDirectories(dir);
    database::WeatherDatabase db(fs);
    (void)db.open(dir);
    state.ResumeTiming();
    records::DateTime day = records::DateTime::fromDate(2006, 1, 1);
    database::WeatherDataObject obj;
    for (int n = 0; n < 365; ++n, day.nextDay()) {
      database::DailySummaryObject summary;
      summary.a.date = day;
      summary.b.date = day;
      if (!db.EditSummaryRecord(summary)) state.SkipWithError("summary append failed");
      for (int t = 1; t <= 1440; ++t) {
        obj.record = dayRecords[static_cast<std::size_t>(t - 1)];
        obj.date = day;
        obj.date.setMinutes(static_cast<std::uint16_t>(t));
        if (!db.AppendArchiveRecord(obj)) state.SkipWithError("append failed");
      }
      if (!db.EditSummaryRecord(summary)) state.SkipWithError("summary edit failed");
    }
    if (!db.close()) state.SkipWithError("close failed");
    records += 365 * (1440 + 2);
  }
  (void)fs.removeAll(dir);
  state.SetItemsProcessed(records);
  state.counters["records_per_s"] =
      benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
  reportMemory(state);
}
BENCHMARK(BM_AppendYear)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenTenYears(benchmark::State& state) {
  static const std::string dir = [] {
    const std::string d = benchDir("stratalog-bench-db-decade");
    platform::FileSystem& fs = platform::defaultFileSystem();
    (void)fs.removeAll(d);
    database::GeneratorOptions o;
    o.year = 1996;
    o.days = 3653;
    o.intervalMinutes = 30;
    if (!database::generateStation(fs, d, o)) std::abort();
    return d;
  }();
  database::WeatherDatabase db(platform::defaultFileSystem());
  for (auto _ : state) {
    if (db.open(dir) != database::kResultOk) state.SkipWithError("cannot open the station");
    benchmark::DoNotOptimize(db.NumberOfRecordsInDataBase());
    (void)db.close();
  }
  state.counters["months"] = 120;
  reportMemory(state);
}
BENCHMARK(BM_OpenTenYears)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
