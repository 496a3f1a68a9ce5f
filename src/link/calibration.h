#pragma once

#include <cstddef>

#include "link/console_types.h"

namespace stationlink {

// Layout of the calibrated-readings block (CALED and CALFIX): i16 inside temperature, i16
// outside temperature, fifteen i16 further temperatures (seven extra, four soil, four leaf),
// u8 inside humidity, eight u8 humidities (outside, then extra 1 to 7). Little-endian.
namespace readings {
inline constexpr std::size_t kInsideTemp = 0;
inline constexpr std::size_t kOutsideTemp = 2;
inline constexpr std::size_t kFurtherTemps = 4;
inline constexpr std::size_t kFurtherTempCount = 15;
inline constexpr std::size_t kInsideHumidity = kFurtherTemps + 2 * kFurtherTempCount;
inline constexpr std::size_t kHumidities = kInsideHumidity + 1;
inline constexpr std::size_t kHumidityCount = 8;
static_assert(kInsideHumidity == 34);
static_assert(kHumidities + kHumidityCount == kCalibratedReadingsBytes);
}  // namespace readings

// Layout of the calibration offsets at 0x32: signed bytes in the units of the readings.
namespace offsets {
inline constexpr std::size_t kInsideTemp = 0;
inline constexpr std::size_t kOutsideTemp = 2;
inline constexpr std::size_t kFurtherTemps = 3;
inline constexpr std::size_t kInsideHumidity = 18;
inline constexpr std::size_t kHumidities = 19;
static_assert(kFurtherTemps + readings::kFurtherTempCount == kInsideHumidity);
static_assert(kHumidities + readings::kHumidityCount == kCalibrationBytes);
}  // namespace offsets

// The readings as they were before the console applied `offsets`: each offset is subtracted
// from its reading. Missing readings (temperatures 0x7FFF or 0xFFFF, humidities 0xFF) stay
// missing; humidities stay within 0 to 100 %.
CalibratedReadingsBlock removeCalibration(const CalibratedReadingsBlock& calibrated,
                                          const CalibrationBlock& offsets);

}  // namespace stationlink
