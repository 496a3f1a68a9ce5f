#pragma once

// The console's configuration memory: 4096 bytes addressed by the EEBRD, EEBWR and EEWR
// commands. The console reads its own settings (archive interval, calibration, ...) from
// here, so a write through any of the three commands changes how it behaves.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace consolesim {

constexpr std::size_t kConfigMemoryBytes = 4096;

// Addresses the console itself uses.
constexpr std::size_t kLatitudeAddress = 0x0B;
constexpr std::size_t kLongitudeAddress = 0x0D;
constexpr std::size_t kElevationAddress = 0x0F;
constexpr std::size_t kTimeZoneAddress = 0x11;
constexpr std::size_t kGmtOffsetAddress = 0x14;
constexpr std::size_t kTransmittersAddress = 0x17;
constexpr std::size_t kTransmitterListAddress = 0x19;
constexpr std::size_t kSetupBitsAddress = 0x2B;
constexpr std::size_t kRainSeasonAddress = 0x2C;
constexpr std::size_t kArchiveIntervalAddress = 0x2D;
constexpr std::size_t kCalibrationAddress = 0x32;
constexpr std::size_t kCalibrationBytes = 27;
constexpr std::size_t kAlarmAddress = 0x52;
constexpr std::size_t kAlarmBytes = 94;
constexpr std::size_t kPasswordHashAddress = 0xFFE;

static_assert(kCalibrationAddress + kCalibrationBytes == 0x4D);
static_assert(kAlarmAddress + kAlarmBytes == 0xB0);

// Calibration block offsets (signed bytes added to the raw readings).
constexpr std::size_t kCalInsideTemp = 0;
constexpr std::size_t kCalOutsideTemp = 2;
constexpr std::size_t kCalInsideHum = 18;
constexpr std::size_t kCalOutsideHum = 19;

class ConfigMemory {
 public:
  // A console as it leaves the factory, with the given archive interval in minutes.
  explicit ConfigMemory(int archiveIntervalMinutes = 5);

  // False when [address, address + count) does not fit; nothing is read or written then.
  bool read(std::size_t address, std::span<std::uint8_t> into) const;
  bool write(std::size_t address, std::span<const std::uint8_t> bytes);

  std::uint8_t byte(std::size_t address) const { return bytes_.at(address); }
  void setByte(std::size_t address, std::uint8_t value) { bytes_.at(address) = value; }
  int i16(std::size_t address) const;
  void setI16(std::size_t address, int value);

  int archiveIntervalMinutes() const { return bytes_[kArchiveIntervalAddress]; }
  // The signed calibration offset at `index` of the calibration block.
  int calibration(std::size_t index) const;

 private:
  std::array<std::uint8_t, kConfigMemoryBytes> bytes_{};
};

}  // namespace consolesim
