#pragma once

// The console's binary records built from the weather model: archive records (52 bytes) and
// LOOP packets (99 bytes).

#include <array>
#include <cstdint>

#include "consolesim/archive_ring.h"
#include "consolesim/config_memory.h"
#include "consolesim/weather_model.h"

namespace consolesim {

constexpr std::size_t kLoopPacketBytes = 99;
using LoopPacket = std::array<std::uint8_t, kLoopPacketBytes>;

// Where the console's firmware places the later sensor bytes of an archive record.
enum class RecordLayout {
  kRevisionA,     // firmware before 1 March 2002
  kIntermediate,  // firmware from 1 to 21 March 2002
  kRevisionB,     // later firmware
};

struct FirmwareDate {
  int year = 2002;
  int month = 4;
  int day = 24;
};
RecordLayout layoutForFirmware(const FirmwareDate& date);

// Date stamp (year − 2000) × 512 + month × 32 + day; time stamp hour × 100 + minute.
std::uint16_t dateStamp(const platform::CivilTime& c);
std::uint16_t timeStamp(const platform::CivilTime& c);

// What the console measures: the model's readings with the console's calibration applied.
struct SensorSuite {
  bool solarAndUv = true;   // the better console model carries the solar and UV sensors
  int barometerOffset = 0;  // thousandths inHg, set by BAR=
};
Reading measured(const WeatherModel& model, const ConfigMemory& memory, const SensorSuite& suite,
                 LocalSeconds t);

// The archive record for the interval of `intervalMinutes` that ends at `end`.
ConsoleRecord encodeArchiveRecord(const WeatherModel& model, const ConfigMemory& memory,
                                  const SensorSuite& suite, LocalSeconds end, int intervalMinutes,
                                  RecordLayout layout);

// The running totals a LOOP packet carries besides the readings.
struct LoopTotals {
  int yearRainOffset = 0;  // set by PUTRAIN
  std::uint16_t nextArchiveSlot = 0;
};
LoopPacket encodeLoopPacket(const WeatherModel& model, const ConfigMemory& memory,
                            const SensorSuite& suite, LocalSeconds now, const LoopTotals& totals);

// Rain tips of the current rain year up to `now` (rain year starts in the month stored in
// the configuration memory), before any PUTRAIN correction.
int modelYearRain(const WeatherModel& model, const ConfigMemory& memory, LocalSeconds now);

}  // namespace consolesim
