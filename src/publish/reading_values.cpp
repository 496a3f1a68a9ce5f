#include "publish/reading_values.h"

#include <cmath>

#include "quantities/derived.h"
#include "quantities/units.h"

namespace publish::reading {

namespace {

using stationlink::kImageNone16;
using stationlink::kImageNone8;

Number derived(float v) {
  if (v == quantities::kNoData || !std::isfinite(v)) return std::nullopt;
  return v;
}
float raw(Number v) { return v ? static_cast<float>(*v) : quantities::kNoData; }

}  // namespace

Number tenths(std::int16_t v) {
  if (v == kImageNone16 || v == 0x7FFF) return std::nullopt;
  return v / 10.0;
}

Number biasedTemperature(std::uint8_t v) {
  if (v == kImageNone8) return std::nullopt;
  return static_cast<double>(v) - 90.0;
}

Number percent(std::uint8_t v) {
  if (v > 100) return std::nullopt;
  return v;
}

Number plainByte(std::uint8_t v) {
  if (v == kImageNone8) return std::nullopt;
  return v;
}

Number barometer(const stationlink::SensorImage& image) {
  if (image.barometer == kImageNone16 || image.barometer <= 0) return std::nullopt;
  return image.barometer / 1000.0;
}

Number rainTips(std::int16_t tips, const station::StationConfig& config) {
  if (tips < 0) return std::nullopt;
  const quantities::StationRainCollector collector{config.rainCollectorType(), config.rainClick()};
  return tips * quantities::stationInchesPerTip(collector);
}

Number rainRate(const stationlink::SensorImage& image, const station::StationConfig& config) {
  return rainTips(image.rainRate, config);
}

Number solarRadiation(const stationlink::SensorImage& image) {
  if (image.solarRadiation < 0 || image.solarRadiation == 0x7FFF) return std::nullopt;
  return image.solarRadiation;
}

Number uvIndex(const stationlink::SensorImage& image) {
  if (image.uvIndex == kImageNone8) return std::nullopt;
  return image.uvIndex / 10.0;
}

Number outsideTemperature(const stationlink::SensorImage& image) {
  return tenths(image.outsideTemperature);
}
Number insideTemperature(const stationlink::SensorImage& image) {
  return tenths(image.insideTemperature);
}
Number outsideHumidity(const stationlink::SensorImage& image) {
  return percent(image.outsideHumidity);
}
Number insideHumidity(const stationlink::SensorImage& image) {
  return percent(image.insideHumidity);
}
Number windSpeed(const stationlink::SensorImage& image) { return plainByte(image.windSpeed); }

Number dewPoint(Number tempF, Number humidity) {
  return derived(quantities::CalcDew(raw(tempF), raw(humidity)));
}
Number heatIndex(Number tempF, Number humidity) {
  return derived(quantities::CalcHeat(raw(tempF), raw(humidity)));
}
Number windChill(Number tempF, Number windMph) {
  return derived(quantities::CalcChill(raw(tempF), raw(windMph)));
}
Number thw(Number tempF, Number humidity, Number windMph) {
  return derived(quantities::CalcTHW(raw(tempF), raw(humidity), raw(windMph)));
}
Number thsw(Number tempF, Number humidity, Number windMph, Number solar) {
  return derived(quantities::CalcTHSW(raw(tempF), raw(humidity), raw(windMph), raw(solar)));
}
Number emc(Number tempF, Number humidity) {
  return derived(quantities::CalcEMC(raw(tempF), raw(humidity)));
}
Number airDensity(Number tempF, Number barometerInHg, Number humidity) {
  return derived(quantities::CalcAirDensity(raw(tempF), raw(barometerInHg), raw(humidity)));
}

}  // namespace publish::reading
