#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "link/console_link.h"
#include "link/loop_packet.h"

namespace stationlink {

// Configuration-memory (EEPROM) addresses the program uses.
namespace eeprom {
inline constexpr std::uint16_t kLatitude = 0x0B;
inline constexpr std::uint16_t kLongitude = 0x0D;
inline constexpr std::uint16_t kElevation = 0x0F;
inline constexpr std::uint16_t kTimeZoneIndex = 0x11;
inline constexpr std::uint16_t kManualDaylightSaving = 0x12;
inline constexpr std::uint16_t kDaylightSavingOn = 0x13;
inline constexpr std::uint16_t kGmtOffsetLow = 0x14;
inline constexpr std::uint16_t kGmtOffsetHigh = 0x15;
inline constexpr std::uint16_t kGmtOrZone = 0x16;
inline constexpr std::uint16_t kTransmittersInUse = 0x17;
inline constexpr std::uint16_t kTransmitterSetting = 0x18;
inline constexpr std::uint16_t kTransmitterList = 0x19;
inline constexpr std::uint16_t kSetupBits = 0x2B;
inline constexpr std::uint16_t kRainSeasonStart = 0x2C;
inline constexpr std::uint16_t kArchiveInterval = 0x2D;
inline constexpr std::uint16_t kCalibration = 0x32;
inline constexpr std::uint16_t kAlarmThresholds = 0x52;
inline constexpr std::uint16_t kCalibrationDialogFlag = 0xFFC;
inline constexpr std::uint16_t kPasswordHash = 0xFFE;
}  // namespace eeprom

// Setup bits at 0x2B.
inline constexpr std::uint8_t kLargeWindCups = 0x08;
inline constexpr std::uint8_t kRainCollectorMask = 0x30;

// The console's time-zone table: index (0 to 46) -> offset from GMT as hours * 100 + minutes.
inline constexpr std::array<std::int16_t, 47> kTimeZoneOffsets = {
    -1200, -1100, -1000, -900, -800, -700, -600, -600, -600, -500, -500, -400,
    -400,  -330,  -300,  -300, -200, -100, 0,    0,    100,  100,  100,  200,
    200,   200,   200,   200,  300,  300,  330,  400,  430,  500,  530,  600,
    700,   800,   800,   900,  930,  930,  1000, 1000, 1100, 1200, 1200};

// Archive interval codes 0 to 6 -> minutes; nothing for any other code.
std::optional<int> archiveIntervalMinutes(int code);

// Setup bits 4-5 -> rain-collector code, and the bits a code is stored as (none: refused).
int rainCollectorFromSetupBits(std::uint8_t bits);
std::optional<std::uint8_t> setupBitsForRainCollector(int code);

// The newest console family. Each command checks that the link is configured, opens it if it
// is not ready and wakes the console before it sends anything; a failure there fails the
// command without sending it, and no command reports success without the console's answer.
class CirrantLink : public ConsoleLink {
 public:
  using ConsoleLink::ConsoleLink;

  platform::Status AllocateDownloadBuffers(std::size_t pageCount) override;
  platform::Status NewSetup() override;
  platform::Result<std::uint8_t> ReadSetupBits() override;
  platform::Status WriteSetupBits(std::uint8_t bits) override;
  platform::Status EepromWriteByte(std::uint16_t address, std::uint8_t value) override;
  // Reads out.size() bytes (1 to 510) at `address`. Nothing is copied unless the CRC is good.
  platform::Status EepromRead(std::span<std::uint8_t> out, std::uint16_t address) override;
  platform::Result<std::uint8_t> EepromReadByte(std::uint16_t address) override;
  // Writes `bytes` at `address` (EEBWR) and waits for the console's acknowledge.
  platform::Status EepromWrite(std::uint16_t address, std::span<const std::uint8_t> bytes);
  platform::Result<TransmitterList> ReadTransmitterList() override;
  platform::Result<TransmitterType> ReadTransmitterType(int channel) override;
  platform::Status WriteTransmitterType(int channel, int type, int repeater, int low,
                                        int high) override;
  // The first channel with an anemometer transmitter (type 4), else the last channel of type
  // 0, else 255.
  platform::Result<int> FindWindTransmitter() override;
  platform::Result<FirmwareDate> GetFirmwareDate() override;
  platform::Status SetGmtOffset(int zoneIndex) override;
  platform::Result<ConsoleTime> GetTime() override;
  // Refuses a time the console cannot hold (year 1900 to 2155) without sending anything.
  platform::Status SetTime(const ConsoleTime& time) override;
  platform::Result<HiLowsBlock> ReadHiLows() override;
  platform::Result<int> GetArchiveInterval() override;
  // Changes the interval and therefore empties the console's archive.
  platform::Status SetArchiveInterval(int intervalCode) override;
  platform::Status ClearArchive() override;
  platform::Result<int> GetElevation() override;
  platform::Status PutRain(int yearlyRainClicks) override;
  // period 0, 1 or 2, or -1 for all three in that order.
  platform::Status ClearHighs(int period) override;
  platform::Status ClearLows(int period) override;
  platform::Status ClearGraphs() override;
  platform::Status ClearAlarms() override;
  platform::Status ClearCalibration() override;
  platform::Status ClearCurrentValue(int variable) override;
  platform::Status SetBarometer(int reading, int elevation) override;
  platform::Result<CalibrationBlock> ReadCalibration() override;
  platform::Status WriteCalibration(const CalibrationBlock& block) override;
  platform::Result<CalibratedReadingsBlock> ReadCalibratedReadings() override;
  platform::Status WriteCalibratedReadings(const CalibratedReadingsBlock& block) override;
  platform::Result<int> GetRainCollector() override;
  platform::Status SetRainCollector(int code) override;
  platform::Result<int> GetWindCupSize() override;
  platform::Status SetWindCupSize(int size) override;
  platform::Result<int> GetLatitude() override;
  platform::Result<int> GetLongitude() override;
  platform::Status SetLatLong(int latitude, int longitude) override;
  platform::Result<AlarmThresholdBlock> ReadAlarmThresholds() override;
  platform::Status WriteAlarmThresholds(const AlarmThresholdBlock& block) override;
  platform::Result<ReceptionCounts> ReceptionCheck() override;
  platform::Result<std::string> ReadBarometerData() override;

  // Current readings. StartLoop asks for `count` LOOP packets (-1 when the console does not
  // acknowledge) and leaves the link streaming; StopLoop makes the console stop.
  platform::Status StartLoop(int count) override;
  platform::Status StopLoop() override;
  // 0: a packet was decoded into `image`; 1: the packet is still arriving (the bytes so far
  // are kept for the next call). Fails with -2 for a wrong header, -4 for a CRC error, -500
  // when the line fails, -1 when the port is not open.
  platform::Result<int> ReadLoopPacket(SensorImage& image) override;
  // One packet, start to end: -10 when the console does not wake, -1 when the request or
  // the line fails or no whole packet arrives within a minute, else the packet's answer.
  platform::Status GetSensorImage(SensorImage& image) override;

 protected:
  enum class Wake { kYes, kNo };
  // The start of every command: configured, open, console awake (and Cirrant when required).
  platform::Status prologue(bool cirrantOnly, Wake wake = Wake::kYes);
  platform::Status refuse(std::string message);
  platform::Status sendCommand(const char* text);
  platform::Status sendAcknowledged(const char* text);
  platform::Status eepromRead(std::span<std::uint8_t> out, std::uint16_t address, Wake wake,
                              bool cirrantOnly);
  platform::Result<std::int16_t> readSigned16(std::uint16_t address, Wake wake, bool cirrantOnly);
  platform::Status clearPeriods(const char* command, int period);
  platform::Status okThenDone(const char* command);
  platform::Result<std::string> readTextReply(const char* command);

 private:
  LoopPacketAssembler loop_;
};

}  // namespace stationlink
