#include "link/sensor_image.h"

namespace stationlink {

namespace {

void put16(std::array<std::uint8_t, sizeof(SensorImage)>& out, std::size_t at, std::uint16_t v) {
  out[at] = static_cast<std::uint8_t>(v & 0xFF);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

template <std::size_t N>
void putBytes(std::array<std::uint8_t, sizeof(SensorImage)>& out, std::size_t at,
              const std::array<std::uint8_t, N>& bytes) {
  for (std::size_t i = 0; i < N; ++i) out[at + i] = bytes[i];
}

}  // namespace

SensorImage resetSensorImage() {
  SensorImage s{};
  s.outsideTemperature = s.insideTemperature = s.barometer = kImageNone16;
  s.windDirection = 0x8000;
  s.rainRate = s.etDay = s.etMonth = s.etYear = s.solarRadiation = kImageNone16;
  s.sunrise = s.sunset = s.barometerTrend = kImageNone16;
  s.consoleBattery = 0x8000;
  s.insideHumidity = s.outsideHumidity = 128;
  s.windSpeed = s.windSpeedAverage = s.uvIndex = kImageNone8;
  s.forecastRule = 193;
  s.extraTemperatures.fill(kImageNone8);
  s.extraHumidities.fill(kImageNone8);
  s.soilMoistures.fill(kImageNone8);
  s.soilTemperatures.fill(kImageNone8);
  s.leafWetnesses.fill(kImageNone8);
  s.leafTemperatures.fill(kImageNone8);
  return s;
}

std::array<std::uint8_t, sizeof(SensorImage)> encodeSensorImage(const SensorImage& s) {
  std::array<std::uint8_t, sizeof(SensorImage)> out{};
  auto u = [](std::int16_t v) { return static_cast<std::uint16_t>(v); };
  put16(out, 0, u(s.outsideTemperature));
  put16(out, 2, u(s.insideTemperature));
  out[4] = s.insideHumidity;
  out[5] = s.outsideHumidity;
  put16(out, 6, u(s.barometer));
  out[8] = s.windSpeed;
  out[9] = s.windSpeedAverage;
  put16(out, 10, s.windDirection);
  put16(out, 12, u(s.rainYear));
  put16(out, 14, u(s.rainDay));
  put16(out, 16, u(s.rainMonth));
  put16(out, 18, u(s.stormRain));
  put16(out, 20, u(s.rainRate));
  put16(out, 22, u(s.etDay));
  put16(out, 24, u(s.etMonth));
  put16(out, 26, u(s.etYear));
  put16(out, 28, u(s.solarRadiation));
  out[30] = s.uvIndex;
  out[31] = s.forecastIcons;
  out[32] = s.forecastRule;
  out[33] = s.insideAlarms;
  out[34] = s.rainAlarms;
  put16(out, 36, s.outsideAlarms);
  putBytes(out, 38, s.extraAlarms);
  putBytes(out, 46, s.soilLeafAlarms);
  put16(out, 50, u(s.sunrise));
  put16(out, 52, u(s.sunset));
  putBytes(out, 54, s.extraTemperatures);
  putBytes(out, 61, s.extraHumidities);
  putBytes(out, 68, s.soilMoistures);
  putBytes(out, 72, s.soilTemperatures);
  putBytes(out, 76, s.leafWetnesses);
  putBytes(out, 80, s.leafTemperatures);
  put16(out, 84, u(s.barometerTrend));
  out[86] = s.transmitterBattery;
  put16(out, 88, s.consoleBattery);
  return out;
}

}  // namespace stationlink
