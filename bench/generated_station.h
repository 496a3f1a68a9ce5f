#pragma once

// A station of generated weather for the benchmarks, in the temporary directory.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "database/station_generator.h"
#include "database/summary_rebuild.h"
#include "database/weather_database.h"
#include "platform/file_system.h"
#include "quantities/user_conventions.h"

namespace bench {

// Writes `days` days of 5-minute records from 1 January of `year` into a fresh directory
// named after `name` and returns it. With `fullSummaries` the daily summaries are rebuilt
// from the records: the generator's hold temperatures and rain only, and the reports also
// read winds and degree days.
inline std::string generatedStation(const std::string& name, int year, int days,
                                    bool fullSummaries) {
  const std::string dir = (std::filesystem::temp_directory_path() / name).string();
  platform::FileSystem& fs = platform::defaultFileSystem();
  (void)fs.removeAll(dir);
  database::GeneratorOptions o;
  o.year = year;
  o.month = 1;
  o.day = 1;
  o.days = days;
  o.intervalMinutes = 5;
  if (!database::generateStation(fs, dir, o)) std::abort();
  if (fullSummaries) {
    database::WeatherDatabase writable(fs);
    (void)writable.open(dir);
    auto rebuilt = database::rebuildAllSummaries(writable, quantities::UserConventions{}.values());
    if (!rebuilt || !writable.close()) std::abort();
  }
  return dir;
}

}  // namespace bench
