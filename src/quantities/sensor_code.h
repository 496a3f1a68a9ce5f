#pragma once

// The 32-bit sensor code that names one weather variable: derived quantity in bits 0-4,
// unit class in bits 5-9, statistic in bits 10-14, category (or degree-day base) in
// bits 16-23, sensor index in bits 24-31.

#include <cstdint>

namespace quantities {

using SensorCode = std::uint32_t;

enum Derived : int {
  kMeasured = 0,
  kDewPoint = 1,
  kWindChill = 2,
  kHeatIndex = 3,
  kThwIndex = 4,
  kThswIndex = 5,
  kDerivedTemp6 = 6,
  kWindRun = 7,
  kDegreeDays = 8,
  kSolarEnergy = 9,
  kUvDose = 10,
  kAirDensity = 11,
  kEmc = 12,
  kEvapotranspiration = 13,
};

enum UnitClass : int {
  kClassTemperature = 0,
  kClassDegreeDays = 1,
  kClassRain = 2,
  kClassRainRate = 3,
  kClassWindSpeed = 4,
  kClassDirection = 6,
  kClassBarometer = 7,
  kClassSolarRadiation = 10,
  kClassSolarEnergy = 11,
  kClassUvIndex = 12,
  kClassUvDose = 13,
  kClassHumidity = 14,
  kClassSoilMoisture = 15,
  kClassLeafWetness = 16,
  kClassCount = 17,
  kClassDistance = 18,
  kClassElevation = 19,
  kClassAirDensity = 20,
};

enum Category : int {
  kCatTemperature = 0,
  kCatHumidity = 1,
  kCatWindSpeed = 2,
  kCatWindDirection = 3,
  kCatBarometer = 4,
  kCatRain = 5,
  kCatRainRate = 6,
  kCatSolar = 7,
  kCatUv = 8,
  kCatSoilMoisture = 9,
  kCatLeafWetness = 10,
  kCatMinutes = 11,
  kCatStation = 12,
};

constexpr int codeDerived(SensorCode c) { return static_cast<int>(c & 0x1F); }
constexpr int codeClass(SensorCode c) { return static_cast<int>((c >> 5) & 0x1F); }
constexpr int codeStatistic(SensorCode c) { return static_cast<int>((c >> 10) & 0x1F); }
constexpr int codeCategory(SensorCode c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int codeIndex(SensorCode c) { return static_cast<int>((c >> 24) & 0xFF); }

// Codes matched exactly.
inline constexpr SensorCode kCodeBarometer = 0x400E0;
inline constexpr SensorCode kCodeRain = 0x50440;
inline constexpr SensorCode kCodeRainRate = 0x60860;
inline constexpr SensorCode kCodeSolar = 0x70140;
inline constexpr SensorCode kCodeSolarHigh = 0x70940;
inline constexpr SensorCode kCodeSolarEstimate = 0x1070140;
inline constexpr SensorCode kCodeUv = 0x80180;
inline constexpr SensorCode kCodeUvHigh = 0x80980;
inline constexpr SensorCode kCodeSolarEnergy = 0x70569;
inline constexpr SensorCode kCodeUvDose = 0x805AA;
inline constexpr SensorCode kCodeEvapotranspiration = 0x44D;
inline constexpr SensorCode kCodeWindSpeed = 0x20080;

static_assert(codeDerived(kCodeEvapotranspiration) == kEvapotranspiration);
static_assert(codeClass(0x20647) == kClassDistance && codeStatistic(0x20647) == 1);
static_assert(codeCategory(0xBF0428) == 0xBF && codeClass(0xBF0428) == kClassDegreeDays);
static_assert(codeIndex(0x120A0200) == 18 && codeCategory(0x120A0200) == kCatLeafWetness);

}  // namespace quantities
