#include "reports/clear_sky.h"

#include <chrono>
#include <cmath>
#include <numbers>

#include "reports/daylight_saving.h"
#include "reports/sun_position.h"
#include "station/station_config.h"

namespace reports {

namespace {

constexpr double kSolarConstant = 1367.0;
constexpr double kPressurePerFoot = -3.29184e-5;
constexpr int kSavingMinutes = 60;

// The station's clock as local standard time. Under the automatic rule the hour that the
// change back repeats is taken as the one still in saving, and the hour the change forward
// skips as standard time.
int standardMinutes(const ClearSkySite& site, int year, int month, int day, int clockMinutes) {
  switch (site.saving) {
    case ClockSaving::kNone:
      return clockMinutes;
    case ClockSaving::kInForce:
      return clockMinutes - kSavingMinutes;
    case ClockSaving::kAutomatic:
      return automaticSavingInForce(year, month, day, clockMinutes - kSavingMinutes,
                                    site.gmtOffsetHours, site.southern)
                 ? clockMinutes - kSavingMinutes
                 : clockMinutes;
  }
  return clockMinutes;
}

}  // namespace

std::optional<ClearSkySite> clearSkySiteFor(const station::StationConfig& config) {
  if (config.latDeg() == station::kLocationNotSet || config.lonDeg() == station::kLocationNotSet)
    return std::nullopt;
  ClearSkySite site;
  site.latitude = config.latitude();
  site.longitude = config.longitude();
  site.gmtOffsetHours = config.gmtOffset();
  site.elevationFeet = config.elevation();
  // Saving set by hand, for the program or for the console's own clock that stamps the
  // records, is whatever `dstOn` says; otherwise the automatic rule.
  if (config.dstManual() || config.consoleDstManual()) {
    site.saving = config.dstOn() ? ClockSaving::kInForce : ClockSaving::kNone;
  } else {
    site.saving = ClockSaving::kAutomatic;
  }
  site.southern = config.latSouth();
  return site;
}

double clearSkyRadiation(double elevationDegrees, int dayOfYear, double elevationFeet) {
  if (elevationDegrees <= 0) return 0;
  const double sinEl = std::sin(elevationDegrees * std::numbers::pi / 180.0);
  const double i0 =
      kSolarConstant * (1 + 0.033 * std::cos(2 * std::numbers::pi * dayOfYear / 365.0));
  const double airMass = std::exp(kPressurePerFoot * elevationFeet) / sinEl;
  return 1.1 * i0 * sinEl * std::pow(0.7, std::pow(airMass, 0.678));
}

std::int16_t clearSkyEstimate(const ClearSkySite& site, int year, int month, int day,
                              int clockMinutes) {
  using namespace std::chrono;
  const year_month_day date{std::chrono::year{year},
                            std::chrono::month{static_cast<unsigned>(month)},
                            std::chrono::day{static_cast<unsigned>(day)}};
  if (!date.ok()) return 0;
  const int dayOfYear =
      static_cast<int>((sys_days{date} - sys_days{std::chrono::year{year} / January / 1}).count()) +
      1;
  const double elevation =
      sunElevationDegrees(year, month, day, standardMinutes(site, year, month, day, clockMinutes),
                          site.gmtOffsetHours, site.latitude, site.longitude);
  return static_cast<std::int16_t>(
      std::lround(clearSkyRadiation(elevation, dayOfYear, site.elevationFeet)));
}

}  // namespace reports
