#pragma once

// Writes a station of plausible, deterministic weather through the database's own append
// operations: for each day its summary records, then one archive record per interval
// (stamped interval, 2 × interval, ... up to 1440), then the day's finished summary.
// Used by the benchmarks, the tests and `stratalog db generate`.

#include <string>

#include "database/weather_database.h"
#include "platform/file_system.h"

namespace database {

struct GeneratorOptions {
  int year = 2006;
  int month = 1;
  int day = 1;
  int days = 1;
  int intervalMinutes = 5;  // 1 to 255
};

// Appends the days to an open database and flushes it. The first day must lie after the
// database's last day.
platform::Status generateDays(WeatherDatabase& db, const GeneratorOptions& options);

// Creates `directory` when missing, opens it as a station and generates the days.
platform::Status generateStation(platform::FileSystem& fs, const std::string& directory,
                                 const GeneratorOptions& options);

// The archive record the generator writes at `minutes` (1 to 1440) of the given day.
ArchiveRecord generatedRecord(const DateTime& day, int minutes, int intervalMinutes);

}  // namespace database
