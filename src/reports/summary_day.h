#pragma once

// A day of the database as the reports read it: the values of its summary in internal
// units (°F, mph, thousandths of an inch), each empty when stored as no data, and its
// archive records in file order. A day the database does not hold (no month, no block)
// is an empty result; a summary or record that cannot be read is an error, never an
// empty day.

#include <array>
#include <functional>
#include <optional>

#include "database/weather_database.h"
#include "platform/status.h"

namespace reports {

struct SummaryDay {
  int minutes = 0;                           // minutes of data; no data reads as 0
  int rainThousandths = 0;                   // no data reads as 0
  std::optional<double> meanWind, highWind;  // mph
  int highWindTime = -1;                     // minutes after midnight, -1 without a time
  std::optional<double> highF, lowF, meanF;
  int highTime = -1;
  int lowTime = -1;
  std::optional<double> heatingStored, coolingStored;  // °F·days
  std::array<int, 16> directionMinutes{};
  int dominantDirection = -1;  // 0-15, -1 when the wind was never recorded
};

// The day's summary; an empty optional when the day has no records. Failures carry the
// message "Error en la Base de Datos.".
platform::Result<std::optional<SummaryDay>> readSummaryDay(database::WeatherDatabase& db, int year,
                                                           int month, int day);

// Calls `each` for every archive record in the day's block, in file order. A day without
// records calls nothing. Failures carry "Error obteniendo registro de la base de datos.".
platform::Status forEachArchiveRecord(
    database::WeatherDatabase& db, int year, int month, int day,
    const std::function<void(const records::ArchiveRecord&)>& each);

}  // namespace reports
