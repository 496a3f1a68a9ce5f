// The fuel-demand report of a station with a year of 5-minute records and 1,000 customers
// whose last reading is a year old, on the real file system: every customer file read, the
// estimates made (each day's degree days read once) and fuelrep.txt replaced. Goal: under
// 100 ms. A second run by integration of the archive records is given for comparison.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "generated_station.h"
#include "database/summary_rebuild.h"
#include "database/weather_database.h"
#include "platform/file_system.h"
#include "quantities/user_conventions.h"
#include "reports/fuel_customer.h"
#include "reports/fuel_report.h"
#include "reports/report_data.h"
#include "station/station_config.h"

namespace {

struct Station {
  std::string dir;
  std::unique_ptr<database::WeatherDatabase> db;
  quantities::UserConventions conventions;

  Station() {
    dir = bench::generatedStation("stratalog-bench-fuel", 2006, 365, true);
    platform::FileSystem& fs = platform::defaultFileSystem();
    for (std::uint32_t n = 1; n <= 1000; ++n) {
      reports::FuelCustomer c;
      c.number = n;
      c.lastName = "Cliente " + std::to_string(1000 - n);
      c.street = "Calle " + std::to_string(n);
      c.kFactor = 3.0F + static_cast<float>(n % 7);
      c.reading = 100.0F + static_cast<float>(n % 500);
      c.readingDate = {2006, 1, 1};
      c.heaterOn = n % 2 == 0;
      if (!reports::saveFuelCustomer(fs, dir, c)) std::abort();
    }
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

void runReport(benchmark::State& state, bool byIntegration, bool full) {
  Station& s = station();
  station::StationConfig config;
  config.set(reports::data::kFuelHeatBase, 65.0F);
  config.set(reports::data::kFuelIntegration, static_cast<std::uint8_t>(byIntegration ? 1 : 0));
  reports::FuelReportOptions options;
  options.full = full;
  options.sortByName = false;
  const reports::FuelReportJob job{
      platform::defaultFileSystem(), *s.db, config, s.conventions, {2007, 1, 1}};
  for (auto _ : state) {
    auto written = reports::writeFuelReport(job, options);
    if (!written || !written->problems.empty()) {
      state.SkipWithError("fuel report failed");
      return;
    }
  }
}

void BM_FuelReportThousandCustomersMaxMin(benchmark::State& state) {
  runReport(state, false, true);
}
BENCHMARK(BM_FuelReportThousandCustomersMaxMin)->Unit(benchmark::kMillisecond);

void BM_FuelReportThousandCustomersAbbreviated(benchmark::State& state) {
  runReport(state, false, false);
}
BENCHMARK(BM_FuelReportThousandCustomersAbbreviated)->Unit(benchmark::kMillisecond);

void BM_FuelReportThousandCustomersIntegration(benchmark::State& state) {
  runReport(state, true, true);
}
BENCHMARK(BM_FuelReportThousandCustomersIntegration)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
