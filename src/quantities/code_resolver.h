#pragma once

// Turns a sensor code into the recipe for its value in an archive record: which field,
// how it is encoded, or which derived quantity to compute from which fields. Reading a
// value is then one switch on the recipe, with no search.

#include <cstdint>

#include "quantities/sensor_code.h"

namespace quantities {

enum class ValueKind : std::uint8_t {
  kNone,  // the code names nothing in an archive record
  kTemp16,
  kTempByte,
  kHum16,
  kHumByte,
  kSpeed16,
  kDirection,
  kBarometer,
  kRain,
  kRainRate,
  kSolar,
  kUv,
  kByteLevel,  // soil moisture, leaf wetness
  kInterval,
  kTransmitter,
  kWindSamples,
  kReception,
  kTimeOfDay,
  kExpectedSamples,
  kDewPoint,
  kWindChill,
  kHeatIndex,
  kThw,
  kThsw,
  kDerivedTemp,
  kWindRun,
  kDegreeDays,
  kSolarEnergy,
  kUvDose,
  kAirDensity,
  kEmc,
  kEvapotranspiration,
};

// Where a sensor index keeps its temperature or humidity.
struct FieldRef {
  std::uint8_t offset = 0;
  bool isByte = false;
  bool present = false;
};

struct ResolvedCode {
  ValueKind kind = ValueKind::kNone;
  std::uint8_t offset = 0;  // the field of a measured value
  FieldRef temp;            // for derived quantities: the index's temperature
  FieldRef hum;             // and humidity
  std::uint8_t degreeDayBase = 0;
  std::uint8_t index = 0;
  std::uint8_t statistic = 0;
};

ResolvedCode resolveCode(SensorCode code);

// The temperature and humidity fields of a sensor index (0 outside, 1 inside, 2-8 extra,
// 9-14 soil, 15-18 leaf).
FieldRef temperatureField(int index);
FieldRef humidityField(int index);

// True for the kinds whose value is a temperature in °F.
constexpr bool isTemperatureKind(ValueKind k) {
  return k == ValueKind::kTemp16 || k == ValueKind::kTempByte ||
         (k >= ValueKind::kDewPoint && k <= ValueKind::kDerivedTemp);
}

}  // namespace quantities
