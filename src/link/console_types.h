#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace stationlink {

// The console's clock as GETTIME gives it and SETTIME takes it.
struct ConsoleTime {
  int year = 0;  // four digits
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  bool operator==(const ConsoleTime&) const = default;
};

// The firmware date VER answers; valid is false when the reply could not be read as a date.
struct FirmwareDate {
  bool valid = false;
  int year = 0;
  int month = 0;
  int day = 0;
  bool operator==(const FirmwareDate&) const = default;
};

// A transmitter list entry: type in the low nibble, repeater code in the high nibble.
struct TransmitterType {
  int type = 0;      // 0 to 9
  int repeater = 1;  // 1 or 4
};

// The five numbers RXCHECK answers, as the console sends them.
using ReceptionCounts = std::array<int, 5>;

// DMPAFT's answer: pages to come and the first new record within the first page.
struct DumpAfterResult {
  std::uint16_t pageCount = 0;
  std::uint16_t firstRecord = 0;
};

// Configuration-memory blocks, byte for byte as the console keeps them.
inline constexpr std::size_t kCalibrationBytes = 27;
inline constexpr std::size_t kCalibratedReadingsBytes = 43;
inline constexpr std::size_t kAlarmThresholdBytes = 94;
inline constexpr std::size_t kHiLowsBytes = 436;
inline constexpr std::size_t kTransmitterListBytes = 16;
inline constexpr std::size_t kBarometerDataBytes = 100;
using CalibrationBlock = std::array<std::uint8_t, kCalibrationBytes>;
using CalibratedReadingsBlock = std::array<std::uint8_t, kCalibratedReadingsBytes>;
using AlarmThresholdBlock = std::array<std::uint8_t, kAlarmThresholdBytes>;
using HiLowsBlock = std::array<std::uint8_t, kHiLowsBytes>;
using TransmitterList = std::array<std::uint8_t, kTransmitterListBytes>;

// The console's current-conditions record (defined with the current-conditions code).
struct SensorImage;

}  // namespace stationlink
