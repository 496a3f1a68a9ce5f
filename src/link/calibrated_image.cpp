#include "link/calibrated_image.h"

namespace stationlink {

namespace {

constexpr std::size_t kOutsideTemperatureOffset = 0;
constexpr std::size_t kInsideTemperatureOffset = 1;
constexpr std::size_t kOutsideHumidityOffset = 2;
constexpr int kHumidityMax = 100;

// The sum, or no data when the reading is none or the sum leaves the field's range. The
// no-data value itself (-32768) is the bottom of the range, so a sum landing on it is none
// as well.
std::int16_t offsetReading(std::int16_t reading, std::int16_t offset) {
  if (reading == kImageNone16) return kImageNone16;
  const int sum = int{reading} + int{offset};
  if (sum <= int{kImageNone16} || sum > INT16_MAX) return kImageNone16;
  return static_cast<std::int16_t>(sum);
}

std::uint8_t offsetHumidity(std::uint8_t humidity, std::int16_t offset) {
  if (humidity == kImageNone8) return kImageNone8;
  if (offset < 0 && -int{offset} > int{humidity}) return 0;
  const int sum = int{humidity} + int{offset};
  return static_cast<std::uint8_t>(sum > kHumidityMax ? kHumidityMax : sum);
}

}  // namespace

SensorImage calibrateSensorImage(const SensorImage& image, const station::StationConfig& config) {
  SensorImage out = image;
  if (config.isCirrant()) return out;
  out.outsideTemperature =
      offsetReading(image.outsideTemperature, config.sensorOffsets(kOutsideTemperatureOffset));
  out.insideTemperature =
      offsetReading(image.insideTemperature, config.sensorOffsets(kInsideTemperatureOffset));
  out.outsideHumidity =
      offsetHumidity(image.outsideHumidity, config.sensorOffsets(kOutsideHumidityOffset));
  if ((config.sensorMask() & kBarometerOffsetBit) != 0) {
    out.barometer = offsetReading(image.barometer, config.calOffsetExtra());
  }
  return out;
}

}  // namespace stationlink
