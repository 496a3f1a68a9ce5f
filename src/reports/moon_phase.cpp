#include "reports/moon_phase.h"

#include <cmath>
#include <numbers>

#include "reports/sun_position.h"

namespace reports {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

double mod360Radians(double degrees) { return std::fmod(degrees, 360.0) * kRadians; }

}  // namespace

MoonPhase moonPhase(int year, int month, int day, double universalHours) {
  const double d = daysSince2000(year, month, day, universalHours);
  double elong = mod360Radians(297.8501921 + 12.19074911 * d);
  if (elong < 0) elong += 2 * std::numbers::pi;
  const double sunAnomaly = mod360Radians(357.52911 + 0.985600281 * d);
  const double moonAnomaly = mod360Radians(134.9633964 + 13.06499295 * d);
  const double e = elong / kRadians + 6.289 * std::sin(moonAnomaly) - 2.1 * std::sin(sunAnomaly) +
                   1.274 * std::sin(2 * elong - moonAnomaly) + 0.658 * std::sin(2 * elong);
  MoonPhase m;
  m.illuminated = (1 - std::cos(e * kRadians)) / 2;
  const double halved =
      (e >= 0 && e <= 180) || e >= 360 ? m.illuminated / 2 : 1 - m.illuminated / 2;
  double p = e / 360.0;
  if (p > 1) p -= 1;
  if (p < 0) p += 1;
  m.phase = p;
  m.tagValue = (p + halved) / 2;
  return m;
}

}  // namespace reports
