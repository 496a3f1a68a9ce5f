#pragma once

// The figures of the NOAA climatological summaries: one month from the days' summaries
// (and, for degree days by integration at bases other than 65, from the archive records),
// a year as its twelve months. Values are in the user's display units; degree days are
// worked out in °F and converted as degree days.

#include <array>
#include <optional>

#include "database/weather_database.h"
#include "platform/status.h"
#include "quantities/units.h"
#include "reports/degree_days.h"
#include "station/station_config.h"

namespace reports {

// What the summaries need from the station record, checked as it is read.
struct NoaaSettings {
  DegreeDayBases bases;  // °F
  bool integration = true;
  std::array<std::optional<double>, 12> normalTemp;  // °F, January first
  std::array<std::optional<double>, 12> normalRain;  // inches

  static NoaaSettings fromStation(const station::StationConfig& config);
};

// The thresholds of the user's units.
struct NoaaThresholds {
  bool millimetres = false;
  std::array<double, 3> rainDay{};  // a day counts when its rain is above each
  double hot = 90, freezing = 32, cold = 0;

  static NoaaThresholds forUnits(const quantities::Units& units);
};

struct NoaaDay {
  bool hasData = false;
  double rain = 0;
  std::optional<double> meanWind, highWind;
  int highWindTime = -1;
  std::optional<double> high, low, mean;
  int highTime = -1, lowTime = -1;
  std::optional<double> heating, cooling;  // empty: stored as no data
  int direction = -1;
};

struct NoaaMonth {
  int year = 0;
  int month = 0;
  int dayCount = 0;                // days in the month
  std::array<NoaaDay, 32> days{};  // 1 to dayCount

  int daysWithData = 0;
  double rainTotal = 0;
  double topRain = 0;
  int topRainDay = 0;  // 0: no day had rain
  std::array<int, 3> rainDays{};
  double windSum = 0;
  int windDays = 0;
  double topWind = 0;
  int topWindDay = 0;  // 0: no day had a high wind
  std::array<long, 16> directionBins{};
  double highestHigh = 0;
  int highestHighDay = 0;  // 0: none
  double lowestLow = 0;
  int lowestLowDay = 0;  // 0: none
  int hotDays = 0, highFreezingDays = 0, lowFreezingDays = 0, coldDays = 0;
  int meanDays = 0;
  double meanSum = 0, highSum = 0, lowSum = 0;
  double heatingTotal = 0, coolingTotal = 0;
  double tempDeparture = 0, rainDeparture = 0;

  bool hasData() const { return daysWithData > 0; }
  std::optional<double> meanOfMeans() const;
  std::optional<double> meanWind() const;
  // 0-15 with the most minutes (lowest on a tie); -1 when all are zero.
  int dominantDirection() const;
};

struct NoaaYear {
  int year = 0;
  std::array<NoaaMonth, 12> months{};
};

// Fails with the database's messages ("Error en la Base de Datos.", "Error obteniendo
// registro de la base de datos.").
platform::Result<NoaaMonth> computeNoaaMonth(database::WeatherDatabase& db,
                                             const NoaaSettings& settings,
                                             const quantities::Units& units, int year, int month);
platform::Result<NoaaYear> computeNoaaYear(database::WeatherDatabase& db,
                                           const NoaaSettings& settings,
                                           const quantities::Units& units, int year);

// The bin with the most minutes, the lowest on a tie; -1 when every count is zero.
int dominantBin(const std::array<long, 16>& bins);

}  // namespace reports
