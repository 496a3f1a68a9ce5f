#pragma once

// What `stratalog db` shows of a station: its months, days and records, as text.
// Each view reads through the database's own operations, so it shows exactly what the
// rest of the program sees. Values and dates come out in the user's units and
// conventions, as the program's own windows show them.

#include <ostream>
#include <string>

#include "database/weather_database.h"
#include "platform/file_system.h"
#include "platform/intl_settings.h"
#include "quantities/record_values.h"
#include "quantities/sensor_catalogue.h"

namespace database {

// Directory, counts, first and last dates, and month files left out with the reason.
void printStationInfo(const WeatherDatabase& db, const platform::IntlSettings& intl,
                      std::ostream& out);
// One line per month: month, records, days, archive records.
void printMonths(const WeatherDatabase& db, const platform::IntlSettings& intl, std::ostream& out);
// One line per day with data: date and record counts.
void printDays(const WeatherDatabase& db, const platform::IntlSettings& intl, std::ostream& out);
// Archive record n: its date, time and every variable of the catalogue's archive set.
platform::Status printRecord(WeatherDatabase& db, int archiveNumber,
                             const quantities::SensorCatalogue& catalogue,
                             const quantities::ValueContext& ctx, std::ostream& out);
// The archive record closest to a moment, as printRecord shows it.
platform::Status printClosest(WeatherDatabase& db, const DateTime& moment,
                              const quantities::SensorCatalogue& catalogue,
                              const quantities::ValueContext& ctx, std::ostream& out);
// A day's summary and its archive records one line each.
platform::Status printDay(WeatherDatabase& db, int year, int month, int day,
                          const quantities::ValueContext& ctx, std::ostream& out);

}  // namespace database
