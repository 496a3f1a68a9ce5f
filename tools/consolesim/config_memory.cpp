#include "consolesim/config_memory.h"

#include <algorithm>

namespace consolesim {

ConfigMemory::ConfigMemory(int archiveIntervalMinutes) {
  // Memory a console never programmed reads as 0xFF; the settings area starts cleared.
  bytes_.fill(0xFF);
  std::fill(bytes_.begin(), bytes_.begin() + kAlarmAddress, std::uint8_t{0});
  setI16(kLatitudeAddress, 405);    // 40.5 N
  setI16(kLongitudeAddress, -37);   // 3.7 W
  setI16(kElevationAddress, 2188);  // feet
  bytes_[kTimeZoneAddress] = 20;    // +1:00
  bytes_[0x12] = 0;                 // daylight saving detected automatically
  bytes_[0x13] = 0;
  setI16(kGmtOffsetAddress, 100);
  bytes_[kTransmittersAddress] = 0x01;
  // Channel 0 carries the outdoor sensor suite (type 0, no repeater); the other channels
  // are unused, which the console marks with a type above 9.
  for (std::size_t c = 0; c < 8; ++c) {
    bytes_[kTransmitterListAddress + 2 * c] = c == 0 ? 0x10 : 0x1A;
    bytes_[kTransmitterListAddress + 2 * c + 1] = 0x00;
  }
  bytes_[kSetupBitsAddress] = 0x00;  // small cups, 0.01 in collector
  bytes_[kRainSeasonAddress] = 1;
  bytes_[kArchiveIntervalAddress] = static_cast<std::uint8_t>(archiveIntervalMinutes);
  // Alarm thresholds unset, calibration zero.
  std::fill(bytes_.begin() + kAlarmAddress, bytes_.begin() + kAlarmAddress + kAlarmBytes,
            std::uint8_t{0xFF});
  bytes_[0xFFC] = 0;
  bytes_[kPasswordHashAddress] = 0xFF;
  bytes_[kPasswordHashAddress + 1] = 0xFF;
}

bool ConfigMemory::read(std::size_t address, std::span<std::uint8_t> into) const {
  if (address > bytes_.size() || into.size() > bytes_.size() - address) return false;
  std::copy_n(bytes_.begin() + address, into.size(), into.begin());
  return true;
}

bool ConfigMemory::write(std::size_t address, std::span<const std::uint8_t> bytes) {
  if (address > bytes_.size() || bytes.size() > bytes_.size() - address) return false;
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + address);
  return true;
}

int ConfigMemory::i16(std::size_t address) const {
  return static_cast<std::int16_t>(bytes_.at(address) | (bytes_.at(address + 1) << 8));
}

void ConfigMemory::setI16(std::size_t address, int value) {
  const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
  bytes_.at(address) = static_cast<std::uint8_t>(v & 0xFF);
  bytes_.at(address + 1) = static_cast<std::uint8_t>(v >> 8);
}

int ConfigMemory::calibration(std::size_t index) const {
  return static_cast<std::int8_t>(bytes_.at(kCalibrationAddress + index));
}

}  // namespace consolesim
