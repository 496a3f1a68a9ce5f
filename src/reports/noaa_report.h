#pragma once

// Writing the NOAA summaries of a station: the chosen month or year, or the month and
// year of the newest day in the database (and the ones before them) as the uploads ask
// for them. A report is computed whole before its file is touched, and the file is
// replaced atomically, so a failure leaves the previous report as it was.

#include <string>
#include <vector>

#include "database/weather_database.h"
#include "platform/file_system.h"
#include "platform/status.h"
#include "reports/year_month.h"
#include "quantities/user_conventions.h"
#include "station/station_config.h"

namespace reports {

inline constexpr std::string_view kNoaaMonthFile = "NOAAMO.TXT";
inline constexpr std::string_view kNoaaPreviousMonthFile = "NOAAPRMO.TXT";
inline constexpr std::string_view kNoaaYearFile = "NOAAYR.TXT";
inline constexpr std::string_view kNoaaPreviousYearFile = "NOAAPRYR.TXT";

// Which month or year a report covers.
enum class NoaaPeriod { kCurrent, kPrevious };

struct NoaaJob {
  platform::FileSystem& files;
  database::WeatherDatabase& db;  // open
  const station::StationConfig& config;
  const quantities::UserConventions& conventions;
};

// The month of the newest day with data, and the month before it. Fails with "No hay
// registros en la base de datos." on an empty database.
platform::Result<YearMonth> newestMonth(const database::WeatherDatabase& db);
YearMonth previousMonth(YearMonth ym);

// The months and the years the database holds, oldest first.
std::vector<YearMonth> monthsPresent(const database::WeatherDatabase& db);
std::vector<int> yearsPresent(const database::WeatherDatabase& db);

// The report texts, without writing anything.
platform::Result<std::string> noaaMonthReport(const NoaaJob& job, YearMonth month);
platform::Result<std::string> noaaYearReport(const NoaaJob& job, int year);

// Writes the report to `path` (the station directory's NOAAMO.TXT or NOAAYR.TXT when
// empty) and returns the path written. A file that cannot be written fails with
// "Imposible abrir noaa.txt"; a database failure with its message, nothing written.
platform::Result<std::string> writeNoaaMonthReport(const NoaaJob& job, YearMonth month,
                                                   const std::string& path = {});
platform::Result<std::string> writeNoaaYearReport(const NoaaJob& job, int year,
                                                  const std::string& path = {});

// For the uploads: the current month or year (NOAAMO.TXT, NOAAYR.TXT) or the previous
// ones (NOAAPRMO.TXT, NOAAPRYR.TXT) in the station directory.
platform::Result<std::string> writeNoaaMonthFor(const NoaaJob& job, NoaaPeriod period,
                                                const std::string& path = {});
platform::Result<std::string> writeNoaaYearFor(const NoaaJob& job, NoaaPeriod period,
                                               const std::string& path = {});

}  // namespace reports
