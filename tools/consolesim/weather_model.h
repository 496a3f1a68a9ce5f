#pragma once

// A deterministic weather model: every reading is a pure function of the seed and the
// console's local time, so the archive and the current conditions agree with each other,
// and two runs with the same seed produce the same bytes.

#include <cstdint>

#include "platform/clock.h"

namespace consolesim {

// Local console time in seconds, counted like UTC (the console knows no time zones).
using LocalSeconds = std::int64_t;

// Raw sensor readings, before the console's calibration, in the console's units.
struct Reading {
  int outsideTemp = 0;  // tenths °F
  int insideTemp = 0;   // tenths °F
  int outsideHum = 0;   // %
  int insideHum = 0;    // %
  int barometer = 0;    // thousandths inHg
  int windSpeed = 0;    // mph
  int windDir = 0;      // degrees 1-360
  int solar = 0;        // W/m²
  int uv = 0;           // tenths of an index
  int rainRate = 0;     // tips per hour
};

class WeatherModel {
 public:
  explicit WeatherModel(std::uint64_t seed) : seed_(seed) {}

  Reading at(LocalSeconds t) const;
  // Rain-collector tips from local midnight of t's day up to t.
  int rainSinceMidnight(LocalSeconds t) const;
  // Tips in (from, to]; both on interval boundaries of one day or to = following midnight.
  int rainBetween(LocalSeconds from, LocalSeconds to) const;
  // Evapotranspiration in thousandths of an inch over (from, to].
  int etBetween(LocalSeconds from, LocalSeconds to) const;

 private:
  double unit(std::int64_t key, std::uint64_t stream) const;  // 0..1
  int hourRate(std::int64_t hourIndex) const;                 // tips per hour
  // Tips (fractional) from dayStart up to t.
  double rainCumulative(LocalSeconds dayStart, LocalSeconds t) const;

  std::uint64_t seed_;
};

LocalSeconds localSecondsFromCivil(const platform::CivilTime& c);
platform::CivilTime civilFromLocalSeconds(LocalSeconds t);

}  // namespace consolesim
