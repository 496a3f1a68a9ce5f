#pragma once

// Where the sun stands: its declination and the equation of time for an instant, its
// elevation over a station, and the universal time of sunrise, sunset and twilights.
// Angles are in radians unless a name says degrees.

#include <optional>

namespace reports {

struct SunState {
  double meanLongitude = 0;  // L0
  double meanAnomaly = 0;    // M
  double declination = 0;    // δ
  double equationOfTimeMinutes = 0;
};

// Days, with fraction, since 1 January 2000 at 12:00 universal time.
double daysSince2000(int year, int month, int day, double universalHours);
SunState sunState(double daysSince2000);

// The sun's elevation in degrees at local standard time `localMinutes` of the date, for a
// station `gmtOffsetHours` east of Greenwich at the given latitude and longitude (decimal
// degrees, south and west negative).
double sunElevationDegrees(int year, int month, int day, double localMinutes, double gmtOffsetHours,
                           double latitude, double longitude);

// Sun altitudes of the events, in degrees.
inline constexpr double kAltitudeSunriseSunset = -0.833;
inline constexpr double kAltitudeCivil = -6.0;
inline constexpr double kAltitudeNautical = -12.0;
inline constexpr double kAltitudeAstronomical = -18.0;

// The universal time, in hours, at which the sun passes `altitudeDegrees` rising (or
// setting) on the date; nothing when it does not on that date (polar day or night).
std::optional<double> eventTimeUniversal(int year, int month, int day, double latitude,
                                         double longitude, double altitudeDegrees, bool rise);

}  // namespace reports
