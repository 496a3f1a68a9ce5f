#pragma once

// The current conditions as the console last reported them. Modules receive this record
// by pointer, so its layout is fixed: 90 bytes, little-endian, every field at the offset
// the module interface documents. Only the plain integer fields below may be used.

#include <array>
#include <cstddef>
#include <cstdint>

namespace stationlink {

inline constexpr std::int16_t kImageNone16 = static_cast<std::int16_t>(0x8000);
inline constexpr std::uint8_t kImageNone8 = 0xFF;

struct SensorImage {
  std::int16_t outsideTemperature;  // tenths of °F
  std::int16_t insideTemperature;   // tenths of °F
  std::uint8_t insideHumidity;      // %
  std::uint8_t outsideHumidity;     // %
  std::int16_t barometer;           // thousandths of inHg
  std::uint8_t windSpeed;           // mph
  std::uint8_t windSpeedAverage;    // mph, ten minutes
  std::uint16_t windDirection;      // degrees 1-360
  std::int16_t rainYear;            // collector tips
  std::int16_t rainDay;             // tips
  std::int16_t rainMonth;           // tips
  std::int16_t stormRain;           // tips
  std::int16_t rainRate;            // tips per hour
  std::int16_t etDay;               // thousandths of an inch
  std::int16_t etMonth;             // hundredths of an inch
  std::int16_t etYear;              // hundredths of an inch
  std::int16_t solarRadiation;      // W/m²
  std::uint8_t uvIndex;             // tenths
  std::uint8_t forecastIcons;       // the console's bit set
  std::uint8_t forecastRule;        // index of the console's forecast text
  std::uint8_t insideAlarms;
  std::uint8_t rainAlarms;
  std::uint8_t unused35;
  std::uint16_t outsideAlarms;
  std::array<std::uint8_t, 8> extraAlarms;
  std::array<std::uint8_t, 4> soilLeafAlarms;
  std::int16_t sunrise;  // hour × 100 + minute
  std::int16_t sunset;
  std::array<std::uint8_t, 7> extraTemperatures;  // whole °F plus 90
  std::array<std::uint8_t, 7> extraHumidities;    // %
  std::array<std::uint8_t, 4> soilMoistures;      // centibars
  std::array<std::uint8_t, 4> soilTemperatures;   // whole °F plus 90
  std::array<std::uint8_t, 4> leafWetnesses;
  std::array<std::uint8_t, 4> leafTemperatures;  // whole °F plus 90
  std::int16_t barometerTrend;
  std::uint8_t transmitterBattery;
  std::uint8_t unused87;
  std::uint16_t consoleBattery;  // raw console reading
};

static_assert(sizeof(SensorImage) == 90);
static_assert(offsetof(SensorImage, outsideTemperature) == 0);
static_assert(offsetof(SensorImage, insideTemperature) == 2);
static_assert(offsetof(SensorImage, insideHumidity) == 4);
static_assert(offsetof(SensorImage, outsideHumidity) == 5);
static_assert(offsetof(SensorImage, barometer) == 6);
static_assert(offsetof(SensorImage, windSpeed) == 8);
static_assert(offsetof(SensorImage, windSpeedAverage) == 9);
static_assert(offsetof(SensorImage, windDirection) == 10);
static_assert(offsetof(SensorImage, rainYear) == 12);
static_assert(offsetof(SensorImage, rainDay) == 14);
static_assert(offsetof(SensorImage, rainMonth) == 16);
static_assert(offsetof(SensorImage, stormRain) == 18);
static_assert(offsetof(SensorImage, rainRate) == 20);
static_assert(offsetof(SensorImage, etDay) == 22);
static_assert(offsetof(SensorImage, etMonth) == 24);
static_assert(offsetof(SensorImage, etYear) == 26);
static_assert(offsetof(SensorImage, solarRadiation) == 28);
static_assert(offsetof(SensorImage, uvIndex) == 30);
static_assert(offsetof(SensorImage, forecastIcons) == 31);
static_assert(offsetof(SensorImage, forecastRule) == 32);
static_assert(offsetof(SensorImage, insideAlarms) == 33);
static_assert(offsetof(SensorImage, rainAlarms) == 34);
static_assert(offsetof(SensorImage, outsideAlarms) == 36);
static_assert(offsetof(SensorImage, extraAlarms) == 38);
static_assert(offsetof(SensorImage, soilLeafAlarms) == 46);
static_assert(offsetof(SensorImage, sunrise) == 50);
static_assert(offsetof(SensorImage, sunset) == 52);
static_assert(offsetof(SensorImage, extraTemperatures) == 54);
static_assert(offsetof(SensorImage, extraHumidities) == 61);
static_assert(offsetof(SensorImage, soilMoistures) == 68);
static_assert(offsetof(SensorImage, soilTemperatures) == 72);
static_assert(offsetof(SensorImage, leafWetnesses) == 76);
static_assert(offsetof(SensorImage, leafTemperatures) == 80);
static_assert(offsetof(SensorImage, barometerTrend) == 84);
static_assert(offsetof(SensorImage, transmitterBattery) == 86);
static_assert(offsetof(SensorImage, consoleBattery) == 88);

// The image every poll starts from: no reading anywhere.
SensorImage resetSensorImage();

// The 90 bytes a module receives, little-endian whatever the host order.
std::array<std::uint8_t, sizeof(SensorImage)> encodeSensorImage(const SensorImage& image);

}  // namespace stationlink
