#include "reports/sun_position.h"

#include <chrono>
#include <cmath>
#include <numbers>

namespace reports {

namespace {

constexpr double kObliquity = 0.4090927848297817;
constexpr double kRadians = std::numbers::pi / 180.0;

double degreesMod360(double v) {
  double r = std::fmod(v, 360.0);
  return r < 0 ? r + 360.0 : r;
}

}  // namespace

double daysSince2000(int year, int month, int day, double universalHours) {
  using namespace std::chrono;
  const sys_days date{year_month_day{std::chrono::year{year},
                                     std::chrono::month{static_cast<unsigned>(month)},
                                     std::chrono::day{static_cast<unsigned>(day)}}};
  const sys_days epoch{2000y / January / 1};
  return static_cast<double>((date - epoch).count()) + (universalHours - 12.0) / 24.0;
}

SunState sunState(double d) {
  SunState s;
  s.meanLongitude = degreesMod360(280.46646 + 0.98564736 * d) * kRadians;
  s.meanAnomaly = degreesMod360(357.52911 + 0.985600281 * d) * kRadians;
  const double m = s.meanAnomaly;
  const double centre =
      ((1.914602 - 1.3188e-7 * d) * std::sin(m) + (0.019993 - 2.765e-9 * d) * std::sin(2 * m)) *
      kRadians;
  const double e = 0.016708634 - 1.1509e-9 * d;
  s.declination = std::asin(std::sin(kObliquity) * std::sin(s.meanLongitude + centre));
  const double l0 = s.meanLongitude;
  s.equationOfTimeMinutes =
      229.1831180523293 * (0.043034531 * std::sin(2 * l0) - 2 * e * std::sin(m) +
                           0.086069062 * 2 * e * std::sin(m) * std::cos(2 * l0));
  return s;
}

double sunElevationDegrees(int year, int month, int day, double localMinutes, double gmtOffsetHours,
                           double latitude, double longitude) {
  const double universalHours = localMinutes / 60.0 - gmtOffsetHours;
  const SunState s = sunState(daysSince2000(year, month, day, universalHours));
  // True solar time: universal time moved by the longitude and the equation of time.
  const double solarMinutes = universalHours * 60.0 + s.equationOfTimeMinutes + 4.0 * longitude;
  const double hourAngle = (solarMinutes / 4.0 - 180.0) * kRadians;
  const double phi = latitude * kRadians;
  const double sinEl = std::sin(phi) * std::sin(s.declination) +
                       std::cos(phi) * std::cos(s.declination) * std::cos(hourAngle);
  return std::asin(std::fmax(-1.0, std::fmin(1.0, sinEl))) / kRadians;
}

std::optional<double> eventTimeUniversal(int year, int month, int day, double latitude,
                                         double longitude, double altitudeDegrees, bool rise) {
  const double phi = latitude * kRadians;
  const double h0 = altitudeDegrees * kRadians;
  double minutes = rise ? 6 * 60 : 18 * 60;
  double hours = 0;
  SunState s;
  for (int round = 0; round < 2; ++round) {
    const double shift = std::trunc(std::fabs(longitude) / 15.0 * 60.0);
    const double universal = longitude < 0 ? minutes + shift : minutes - shift;
    s = sunState(daysSince2000(year, month, day, universal / 60.0));
    const double cosH = (std::sin(h0) - std::sin(phi) * std::sin(s.declination)) /
                        (std::cos(phi) * std::cos(s.declination));
    if (cosH > 1 || cosH < -1) return std::nullopt;
    const double h = std::acos(cosH) / kRadians;
    hours = (rise ? 180.0 - h : 180.0 + h) / 15.0;
    minutes = std::trunc(hours * 60.0);
  }
  return hours - s.equationOfTimeMinutes / 60.0 - longitude / 15.0;
}

}  // namespace reports
