#include "link/calibration.h"

#include <algorithm>
#include <cstdint>

namespace stationlink {

namespace {

void uncalibrateTemp(CalibratedReadingsBlock& b, std::size_t at, std::uint8_t offset) {
  const std::uint16_t raw = static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
  if (raw == 0x7FFF || raw == 0xFFFF) return;
  int value = static_cast<std::int16_t>(raw) - static_cast<std::int8_t>(offset);
  // Never turn a reading into one of the missing-sensor marks.
  value = std::clamp(value, -32768, 0x7FFE);
  const auto out = static_cast<std::uint16_t>(value);
  b[at] = static_cast<std::uint8_t>(out & 0xFF);
  b[at + 1] = static_cast<std::uint8_t>(out >> 8);
}

void uncalibrateHumidity(CalibratedReadingsBlock& b, std::size_t at, std::uint8_t offset) {
  if (b[at] == 0xFF) return;
  b[at] = static_cast<std::uint8_t>(std::clamp(b[at] - static_cast<std::int8_t>(offset), 0, 100));
}

}  // namespace

CalibratedReadingsBlock removeCalibration(const CalibratedReadingsBlock& calibrated,
                                          const CalibrationBlock& cal) {
  CalibratedReadingsBlock b = calibrated;
  uncalibrateTemp(b, readings::kInsideTemp, cal[offsets::kInsideTemp]);
  uncalibrateTemp(b, readings::kOutsideTemp, cal[offsets::kOutsideTemp]);
  for (std::size_t i = 0; i < readings::kFurtherTempCount; ++i) {
    uncalibrateTemp(b, readings::kFurtherTemps + 2 * i, cal[offsets::kFurtherTemps + i]);
  }
  uncalibrateHumidity(b, readings::kInsideHumidity, cal[offsets::kInsideHumidity]);
  for (std::size_t i = 0; i < readings::kHumidityCount; ++i) {
    uncalibrateHumidity(b, readings::kHumidities + i, cal[offsets::kHumidities + i]);
  }
  return b;
}

}  // namespace stationlink
