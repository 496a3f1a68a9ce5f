#pragma once

// The days, months and years a person picks for the exports and for deleting: each is
// checked against the database, and the picked ones become a run of days in the order
// they were given (days, then the days of each month, then the days of each year), a day
// picked twice giving its records twice.

#include <cstdint>
#include <string>
#include <vector>

#include "database/weather_database.h"
#include "platform/status.h"
#include "quantities/date_text.h"
#include "reports/noaa_report.h"

namespace reports {

struct ExportSelection {
  std::vector<quantities::Date> days;
  std::vector<YearMonth> months;
  std::vector<int> years;

  bool empty() const { return days.empty() && months.empty() && years.empty(); }
};

// The archive records of one day with data: numbers first .. first + count - 1.
struct DayRecords {
  std::int32_t packed = 0;  // year << 16 | month << 8 | day
  int firstArchive = 0;
  int count = 0;
  bool operator==(const DayRecords&) const = default;
};

// Every day with data, oldest first, with its archive records.
std::vector<DayRecords> daysWithRecords(const database::WeatherDatabase& db);

// Fails (kNotFound, the thing named in Spanish) when a picked day, month or year holds no
// records, so that a mistyped date is never taken as nothing to do.
platform::Status checkSelection(const database::WeatherDatabase& db, const ExportSelection& s);

// The picked days in export order, duplicates kept.
std::vector<DayRecords> selectedDays(const database::WeatherDatabase& db,
                                     const ExportSelection& s);

}  // namespace reports
