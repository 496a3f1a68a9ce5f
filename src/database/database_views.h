#pragma once

// What `stratalog db` shows of a station: its months, days and records, as text.
// Each view reads through the database's own operations, so it shows exactly what the
// rest of the program sees.

#include <ostream>

#include "database/weather_database.h"

namespace database {

// Directory, counts, first and last dates, and month files left out with the reason.
void printStationInfo(const WeatherDatabase& db, std::ostream& out);
// One line per month: name, records, days, archive records.
void printMonths(const WeatherDatabase& db, std::ostream& out);
// One line per day with data: date and record counts.
void printDays(const WeatherDatabase& db, std::ostream& out);
// Archive record n, every field.
platform::Status printRecord(WeatherDatabase& db, int archiveNumber, std::ostream& out);
// The archive record closest to a moment, every field.
platform::Status printClosest(WeatherDatabase& db, const DateTime& moment, std::ostream& out);
// A day's summary records in full and its archive records one line each.
platform::Status printDay(WeatherDatabase& db, int year, int month, int day, std::ostream& out);

}  // namespace database
