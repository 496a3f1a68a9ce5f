#pragma once

// Narrowing rules shared by the summary code. Summary fields are 16 bits wide and two of
// their values are markers (0x8000 none, 0x7FFF an untouched low), so every store of a
// computed value saturates short of both instead of wrapping into a marker.

#include <cmath>
#include <cstdint>

namespace database {

inline constexpr int kMaxCount16 = 32767;
inline constexpr int kMaxPacked12 = 4095;

// Rounds half away from zero (2.5 -> 3, -2.5 -> -3).
inline double roundHalfAway(double v) { return std::round(v); }

// A computed value as a 16-bit field: within -32767 to 32766, NaN as 0.
inline std::int16_t saturateValue(double v) {
  if (!(v == v)) return 0;
  if (v <= -32767.0) return -32767;
  if (v >= 32766.0) return 32766;
  return static_cast<std::int16_t>(v);
}

// A count (minutes, wind samples): 0 to 32767.
inline std::int16_t saturateCount(int v) {
  return static_cast<std::int16_t>(v < 0 ? 0 : (v > kMaxCount16 ? kMaxCount16 : v));
}

// A packed 12-bit count: 0 to 4095.
inline std::uint16_t saturate12(int v) {
  return static_cast<std::uint16_t>(v < 0 ? 0 : (v > kMaxPacked12 ? kMaxPacked12 : v));
}

}  // namespace database
