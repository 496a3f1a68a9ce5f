#include "reports/clear_sky.h"

#include <chrono>
#include <cmath>
#include <numbers>

#include "reports/sun_position.h"

namespace reports {

namespace {

constexpr double kSolarConstant = 1367.0;
constexpr double kPressurePerFoot = -3.29184e-5;

}  // namespace

double clearSkyRadiation(double elevationDegrees, int dayOfYear, double elevationFeet) {
  if (elevationDegrees <= 0) return 0;
  const double sinEl = std::sin(elevationDegrees * std::numbers::pi / 180.0);
  const double i0 =
      kSolarConstant * (1 + 0.033 * std::cos(2 * std::numbers::pi * dayOfYear / 365.0));
  const double airMass = std::exp(kPressurePerFoot * elevationFeet) / sinEl;
  return 1.1 * i0 * sinEl * std::pow(0.7, std::pow(airMass, 0.678));
}

std::int16_t clearSkyEstimate(const ClearSkySite& site, int year, int month, int day,
                              int localMinutes) {
  using namespace std::chrono;
  const year_month_day date{std::chrono::year{year},
                            std::chrono::month{static_cast<unsigned>(month)},
                            std::chrono::day{static_cast<unsigned>(day)}};
  if (!date.ok()) return 0;
  const int dayOfYear =
      static_cast<int>((sys_days{date} - sys_days{std::chrono::year{year} / January / 1}).count()) +
      1;
  const double elevation = sunElevationDegrees(year, month, day, localMinutes, site.gmtOffsetHours,
                                               site.latitude, site.longitude);
  return static_cast<std::int16_t>(
      std::lround(clearSkyRadiation(elevation, dayOfYear, site.elevationFeet)));
}

}  // namespace reports
