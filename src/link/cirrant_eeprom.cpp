// Configuration memory (EEPROM) reads and writes of the Cirrant consoles, and the settings
// kept there.
#include <algorithm>
#include <cstdio>

#include "link/cirrant_link.h"

namespace stationlink {

using platform::Result;
using platform::Status;

namespace {

// An EEBRD reply is the data and two CRC bytes in the 512-byte receive buffer.
constexpr std::size_t kMaxEepromRead = 510;

// The first byte of a channel's entry in the transmitter list.
TransmitterType transmitterTypeOf(std::uint8_t entry) {
  TransmitterType t;
  t.type = std::min(entry & 0x0F, 9);
  t.repeater = entry >> 4;
  if (t.repeater != 1 && t.repeater != 4) t.repeater = 1;
  return t;
}

}  // namespace

std::optional<int> archiveIntervalMinutes(int code) {
  static constexpr int kMinutes[] = {1, 5, 10, 15, 30, 60, 120};
  if (code < 0 || code > 6) return std::nullopt;
  return kMinutes[code];
}

int rainCollectorFromSetupBits(std::uint8_t bits) {
  switch ((bits & kRainCollectorMask) >> 4) {
    case 1:
      return 2;
    case 2:
      return 6;
    default:
      return 1;
  }
}

std::optional<std::uint8_t> setupBitsForRainCollector(int code) {
  if (code < 1 || code > 3) return std::nullopt;
  return static_cast<std::uint8_t>((code - 1) << 4);
}

Status CirrantLink::refuse(std::string message) {
  return Status(platform::Errc::kBadArgument, std::move(message), kErrFailed);
}

Status CirrantLink::prologue(bool cirrantOnly, Wake wake) {
  if (!hasState(kConfigured)) return fail(kOtherFailure, kErrFailed, "link not configured");
  if (cirrantOnly && params().linkType != LinkType::kCirrant) {
    return refuse("the command needs a Cirrant console");
  }
  if (Status s = Open(); !s) return s;
  if (wake == Wake::kYes) return WakeUp();
  return Status::ok();
}

Status CirrantLink::sendCommand(const char* text) { return WriteString(text); }

Status CirrantLink::sendAcknowledged(const char* text) {
  if (Status s = WriteString(text); !s) return s;
  return GetAcknowledge();
}

Status CirrantLink::eepromRead(std::span<std::uint8_t> out, std::uint16_t address, Wake wake,
                               bool cirrantOnly) {
  if (out.empty() || out.size() > kMaxEepromRead) {
    return refuse("cannot read " + std::to_string(out.size()) + " bytes of configuration memory");
  }
  if (!hasState(kConfigured)) return fail(kOtherFailure, kErrFailed, "link not configured");
  if (cirrantOnly && params().linkType != LinkType::kCirrant) {
    return refuse("the command needs a Cirrant console");
  }
  if (Status s = Open(); !s) return s;
  if (wake == Wake::kYes) {
    if (Status s = Flush(); !s) return s;
    if (Status s = WakeUp(); !s) return s;
  }
  char command[32];
  std::snprintf(command, sizeof command, "EEBRD %X %X\n", static_cast<unsigned>(address),
                static_cast<unsigned>(out.size()));
  if (Status s = sendAcknowledged(command); !s) return s;
  // A block whose CRC fails is reported as such: handing back the caller's old bytes as the
  // console's would let them be written back into the console later.
  if (Status s = ReadBlockCrc(out.size() + 2); !s) return s;
  std::copy_n(receiveBuffer().begin(), out.size(), out.begin());
  return Status::ok();
}

Status CirrantLink::EepromRead(std::span<std::uint8_t> out, std::uint16_t address) {
  return eepromRead(out, address, Wake::kYes, false);
}

Result<std::uint8_t> CirrantLink::EepromReadByte(std::uint16_t address) {
  std::uint8_t value = 0;
  if (Status s = EepromRead(std::span(&value, 1), address); !s) return s;
  return value;
}

Result<std::int16_t> CirrantLink::readSigned16(std::uint16_t address, Wake wake, bool cirrantOnly) {
  std::uint8_t bytes[2] = {};
  if (Status s = eepromRead(bytes, address, wake, cirrantOnly); !s) return s;
  return static_cast<std::int16_t>(bytes[0] | (bytes[1] << 8));
}

Status CirrantLink::EepromWrite(std::uint16_t address, std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > kMaxEepromRead) {
    return refuse("cannot write " + std::to_string(bytes.size()) +
                  " bytes of configuration memory");
  }
  if (Status s = prologue(false); !s) return s;
  char command[32];
  std::snprintf(command, sizeof command, "EEBWR %X %X\n", static_cast<unsigned>(address),
                static_cast<unsigned>(bytes.size()));
  if (Status s = sendAcknowledged(command); !s) return s;
  if (Status s = WriteBlockCrc(bytes); !s) return s;
  return GetAcknowledge();
}

Status CirrantLink::EepromWriteByte(std::uint16_t address, std::uint8_t value) {
  if (Status s = prologue(false, Wake::kNo); !s) return s;
  if (Status s = Flush(); !s) return s;
  char command[32];
  std::snprintf(command, sizeof command, "EEWR %X %X\n\r", static_cast<unsigned>(address),
                static_cast<unsigned>(value));
  if (Status s = sendCommand(command); !s) return s;
  // The console confirms with LF CR "OK" LF CR; six bytes back are taken as the confirmation.
  return ReadBlock(6);
}

Status CirrantLink::NewSetup() {
  if (Status s = prologue(false); !s) return s;
  return sendAcknowledged("NEWSETUP\n");
}

Result<std::uint8_t> CirrantLink::ReadSetupBits() { return EepromReadByte(eeprom::kSetupBits); }

Status CirrantLink::WriteSetupBits(std::uint8_t bits) {
  if (Status s = EepromWrite(eeprom::kSetupBits, std::span(&bits, 1)); !s) return s;
  return NewSetup();
}

Result<int> CirrantLink::GetArchiveInterval() {
  auto minutes = EepromReadByte(eeprom::kArchiveInterval);
  if (!minutes) return minutes.status();
  return static_cast<int>(*minutes);
}

Result<int> CirrantLink::GetElevation() {
  std::uint8_t bytes[2] = {};
  if (Status s = EepromRead(bytes, eeprom::kElevation); !s) return s;
  return bytes[0] | (bytes[1] << 8);
}

Result<int> CirrantLink::GetLatitude() {
  auto v = readSigned16(eeprom::kLatitude, Wake::kNo, true);
  if (!v) return v.status();
  return static_cast<int>(*v);
}

Result<int> CirrantLink::GetLongitude() {
  auto v = readSigned16(eeprom::kLongitude, Wake::kNo, true);
  if (!v) return v.status();
  return static_cast<int>(*v);
}

Status CirrantLink::SetLatLong(int latitude, int longitude) {
  if (latitude < -900 || latitude > 900 || longitude < -1800 || longitude > 1800) {
    return refuse("latitude or longitude out of range");
  }
  if (Status s = prologue(true, Wake::kNo); !s) return s;
  if (Status s = sendAcknowledged("EEBWR B 4\n"); !s) return s;
  const auto lat = static_cast<std::uint16_t>(latitude);
  const auto lon = static_cast<std::uint16_t>(longitude);
  const std::uint8_t block[4] = {
      static_cast<std::uint8_t>(lat & 0xFF), static_cast<std::uint8_t>(lat >> 8),
      static_cast<std::uint8_t>(lon & 0xFF), static_cast<std::uint8_t>(lon >> 8)};
  if (Status s = WriteBlockCrc(block); !s) return s;
  if (Status s = GetAcknowledge(); !s) return s;
  wait(100);
  return NewSetup();
}

Result<CalibrationBlock> CirrantLink::ReadCalibration() {
  CalibrationBlock block{};
  if (Status s = eepromRead(block, eeprom::kCalibration, Wake::kYes, true); !s) return s;
  return block;
}

Status CirrantLink::WriteCalibration(const CalibrationBlock& block) {
  return EepromWrite(eeprom::kCalibration, block);
}

Result<AlarmThresholdBlock> CirrantLink::ReadAlarmThresholds() {
  AlarmThresholdBlock block{};
  if (Status s = eepromRead(block, eeprom::kAlarmThresholds, Wake::kYes, true); !s) return s;
  return block;
}

Status CirrantLink::WriteAlarmThresholds(const AlarmThresholdBlock& block) {
  return EepromWrite(eeprom::kAlarmThresholds, block);
}

Result<TransmitterList> CirrantLink::ReadTransmitterList() {
  TransmitterList list{};
  if (Status s = EepromRead(list, eeprom::kTransmitterList); !s) return s;
  return list;
}

Result<TransmitterType> CirrantLink::ReadTransmitterType(int channel) {
  if (channel < 0 || channel > 7) return refuse("transmitter channel out of range");
  auto byte = EepromReadByte(static_cast<std::uint16_t>(eeprom::kTransmitterList + 2 * channel));
  if (!byte) return byte.status();
  return transmitterTypeOf(*byte);
}

Status CirrantLink::WriteTransmitterType(int channel, int type, int repeater, int low, int high) {
  if (channel < 0 || channel > 7 || type < 0 || type > 15 || repeater < 0 || repeater > 15 ||
      high < 0 || high > 15) {
    return refuse("transmitter setting out of range");
  }
  const auto address = static_cast<std::uint16_t>(eeprom::kTransmitterList + 2 * channel);
  if (Status s = EepromWriteByte(address, static_cast<std::uint8_t>(repeater * 16 + type)); !s) {
    return s;
  }
  return EepromWriteByte(static_cast<std::uint16_t>(address + 1),
                         static_cast<std::uint8_t>((low & 0x0F) | high * 16));
}

Result<int> CirrantLink::FindWindTransmitter() {
  constexpr int kAnemometer = 4;
  constexpr int kIntegrated = 0;
  // The whole list in one exchange: eight single-byte reads cost a wake-up each. A list
  // that cannot be read fails the search: answering "none" would store a wrong transmitter
  // in every downloaded record.
  auto list = ReadTransmitterList();
  if (!list) return list.status();
  int lastIntegrated = 255;
  for (int channel = 0; channel < 8; ++channel) {
    const TransmitterType t = transmitterTypeOf((*list)[static_cast<std::size_t>(2 * channel)]);
    if (t.type == kAnemometer) return channel;
    if (t.type == kIntegrated) lastIntegrated = channel;
  }
  return lastIntegrated;
}

Status CirrantLink::SetGmtOffset(int zoneIndex) {
  if (zoneIndex < 0 || zoneIndex >= static_cast<int>(kTimeZoneOffsets.size())) {
    return refuse("time-zone index out of range");
  }
  const auto offset =
      static_cast<std::uint16_t>(kTimeZoneOffsets[static_cast<std::size_t>(zoneIndex)]);
  if (Status s = EepromWriteByte(eeprom::kGmtOffsetLow, static_cast<std::uint8_t>(offset & 0xFF));
      !s) {
    return s;
  }
  return EepromWriteByte(eeprom::kGmtOffsetHigh, static_cast<std::uint8_t>(offset >> 8));
}

Result<int> CirrantLink::GetRainCollector() {
  auto bits = ReadSetupBits();
  if (!bits) return bits.status();
  return rainCollectorFromSetupBits(*bits);
}

Status CirrantLink::SetRainCollector(int code) {
  auto wanted = setupBitsForRainCollector(code);
  if (!wanted) {
    return Status(platform::Errc::kBadArgument, "unknown rain collector code", -2);
  }
  auto bits = ReadSetupBits();
  if (!bits) return bits.status();
  return WriteSetupBits(static_cast<std::uint8_t>((*bits & ~kRainCollectorMask) | *wanted));
}

Result<int> CirrantLink::GetWindCupSize() {
  auto bits = ReadSetupBits();
  if (!bits) return bits.status();
  return *bits & kLargeWindCups;
}

Status CirrantLink::SetWindCupSize(int size) {
  if (size != 0 && size != kLargeWindCups) return refuse("wind cup size must be 0 or 8");
  auto bits = ReadSetupBits();
  if (!bits) return bits.status();
  return WriteSetupBits(static_cast<std::uint8_t>((*bits & ~kLargeWindCups) | size));
}

}  // namespace stationlink
