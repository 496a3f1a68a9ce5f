#pragma once

// The radiation a cloudless sky would give a station: the estimate kept beside each
// measured archive value, so reports can tell sunny intervals from cloudy ones.
//
// The model is Meinel's clear-sky beam estimate with a diffuse share, corrected for the
// station's height:
//   I0  = 1367 W/m² × (1 + 0.033 cos(2π n / 365))          (n: day of the year)
//   AM  = e^(−3.29184e-5 × feet) / sin(elevation)           (air mass at the station)
//   G   = 1.1 × I0 × sin(elevation) × 0.7^(AM^0.678)
// and 0 while the sun is below the horizon. The humidity of the air is not used: its
// effect on a clear sky is small next to the clouds this estimate is compared against.

#include <cstdint>
#include <optional>

namespace station {
class StationConfig;
}

namespace reports {

// How the station's clock keeps daylight saving.
enum class ClockSaving {
  kNone,       // the clock stays on standard time
  kInForce,    // set by hand, and on
  kAutomatic,  // the station's automatic rule
};

struct ClearSkySite {
  double latitude = 0;   // decimal degrees, south negative
  double longitude = 0;  // decimal degrees, west negative
  double gmtOffsetHours = 0;
  double elevationFeet = 0;
  ClockSaving saving = ClockSaving::kNone;
  bool southern = false;  // the automatic rule's seasons are turned round
};

// Where a station's estimate is computed, or nothing while its latitude or longitude was
// never entered (degrees -500): the decimal degrees of a new station read 0° N 0° E, where
// the sun would stand high in the station's night.
std::optional<ClearSkySite> clearSkySiteFor(const station::StationConfig& config);

// Clear-sky radiation in W/m² for a sun at `elevationDegrees` on day `dayOfYear` (1-366).
double clearSkyRadiation(double elevationDegrees, int dayOfYear, double elevationFeet);

// The estimate for `clockMinutes` (0 to 1440) of the date on the station's clock, which
// keeps daylight saving as the site says, rounded to whole W/m².
std::int16_t clearSkyEstimate(const ClearSkySite& site, int year, int month, int day,
                              int clockMinutes);

}  // namespace reports
