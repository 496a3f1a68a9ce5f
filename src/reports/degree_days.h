#pragma once

// Degree days, worked out in °F·days (the bases are kept in °F) and converted to the
// user's unit only by the caller, with ConvertDegDay. The ways the reports use:
//   - integration of a day's archive records: interval minutes × (base − T) / 1440 for each
//     record below the heating base, × (T − base) / 1440 above the cooling base;
//   - (maximum + minimum) / 2 of a day: base − M below the heating base, M − base above
//     the cooling base, 0 when either extreme is missing;
//   - the fuel estimate's maximum/minimum day, which also says whether the day held the
//     18 hours of data that make its extremes trustworthy.

#include <optional>

#include "database/weather_database.h"
#include "platform/status.h"

namespace reports {

struct DegreeDays {
  double heating = 0.0;
  double cooling = 0.0;
};

struct DegreeDayBases {
  double heating = 65.0;  // °F
  double cooling = 65.0;  // °F
};

// Accumulates archive intervals of one day.
class DegreeDayIntegrator {
 public:
  explicit DegreeDayIntegrator(DegreeDayBases bases) : bases_(bases) {}
  // An interval of `minutes` at `fahrenheit`; intervals of 0 minutes add nothing.
  void add(int minutes, double fahrenheit);
  DegreeDays result() const { return sums_; }

 private:
  DegreeDayBases bases_;
  DegreeDays sums_;
};

// From the day's highest and lowest temperatures (°F); both must be present.
DegreeDays maxMinDegreeDays(double highF, double lowF, DegreeDayBases bases);

// The integration of the archive records stored under a day (its block in the month file,
// a record stamped 1440 included). A day without records gives zero; a record that cannot
// be read is an error (kIo).
platform::Result<DegreeDays> integrateDay(database::WeatherDatabase& db, int year, int month,
                                          int day, DegreeDayBases bases);

// Heating degree days of one day for the fuel estimate.
struct FuelDay {
  bool counted = false;  // the day has a summary (and, by maximum/minimum, both extremes)
  bool fullDay = false;  // the summary covers 18 hours or more
  double minutes = 0.0;  // minutes of data in the summary
  double heating = 0.0;  // °F·days
};
inline constexpr int kFuelFullDayMinutes = 18 * 60;

// By (maximum + minimum) / 2 or by integration, at the heating base `baseF`. The degree
// days of a day under 18 hours are given too: the estimate decides, with the person, whether
// to count them. A summary or record that cannot be read is an error.
platform::Result<FuelDay> fuelDegreeDay(database::WeatherDatabase& db, int year, int month, int day,
                                        double baseF, bool byIntegration);

}  // namespace reports
