#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/console_types.h"
#include "link/link_services.h"
#include "link/link_types.h"
#include "link/timeout_profiles.h"
#include "platform/serial_port.h"
#include "platform/status.h"

namespace stationlink {

// One connection to a console: the serial port, byte-level reads and writes with their
// time-outs, the running CRC, the acknowledge and wake-up exchanges, the link's state and its
// last error. Created by the SerialPortManager, closed, and reopened on demand.
//
// Every failed operation records its failure in the state flags and lastError() and returns a
// failed Status whose code() is that link error code (-4 CRC, -5 time-out, -8 no acknowledge,
// -11 port missing, -12 port busy, a system error number, or -1 for a refused request).
//
// The console operations (virtual, below the transport) answer "not supported" here; the
// variants for each console generation implement them.
class ConsoleLink {
 public:
  ConsoleLink(const PortParams& params, LinkServices services);
  virtual ~ConsoleLink();
  ConsoleLink(const ConsoleLink&) = delete;
  ConsoleLink& operator=(const ConsoleLink&) = delete;

  // --- Transport ---

  // Opens the port (and dials on a modem line) unless the link is ready; a ready link only
  // reloads its idle countdown.
  platform::Status Open();
  // Hangs up a modem call, closes the port, frees the buffers.
  void Close();
  // Drops DTR for a second to end a modem call. Safe when the port is closed.
  void HangUp();
  // Discards pending input. Ends after a bounded time even on a line that never falls silent.
  // A flush that follows another, with nothing written or read in between, only empties the
  // system's input buffer.
  platform::Status Flush();

  platform::Result<std::uint8_t> ReadByte();
  platform::Status WriteByte(std::uint8_t byte);
  platform::Status WriteString(std::string_view text);
  platform::Status WriteBytes(std::span<const std::uint8_t> bytes);
  // Low byte, then high byte.
  platform::Status WriteWord(std::uint16_t word);
  // As WriteWord, feeding both bytes into the running CRC.
  platform::Status WriteWordCrc(std::uint16_t word);
  // Sends the running CRC, high byte first.
  platform::Status WriteCrc();
  // Resets the running CRC, sends `data` feeding it into the CRC, then sends the CRC.
  platform::Status WriteBlockCrc(std::span<const std::uint8_t> data);

  // Reads n bytes into the receive buffer. A request larger than the buffer fails (-1).
  platform::Status ReadBlock(std::size_t n);
  // As ReadBlock with the running CRC reset first and fed with every byte; -4 unless the CRC
  // ends at 0 (n-2 data bytes followed by their CRC, high byte first).
  platform::Status ReadBlockCrc(std::size_t n);
  // Reads what arrives within the current time-out, at most `into.size()` bytes. Fails only
  // when the line fails or nothing at all arrives (-5).
  platform::Result<std::size_t> ReadAvailable(std::span<std::uint8_t> into);

  // Reads one byte: ACK succeeds; any other byte fails with -8 and an event-log line.
  platform::Status GetAcknowledge();
  // The console's "OK" (LF CR "OK" LF CR) and "DONE" text replies, read under profile 6.
  platform::Status ExpectOk();
  platform::Status ExpectDone();

  void SaveTimeouts();
  void RestoreTimeouts();
  // Applies profile n (0 becomes 7 and 8 becomes 9 on a modem line). Only while open.
  void SetTimeoutProfile(TimeoutProfile profile);

  // The model query answered by every console: the ConsoleModelCode byte.
  platform::Result<int> Identify();
  // Succeeds when the console answers a CR with any byte.
  platform::Status Ping();

  // --- Buffers ---
  std::span<const std::uint8_t> receiveBuffer() const { return receive_; }
  // Resizes the receive buffer (a download enlarges it) and the page buffer (0: none).
  platform::Status resizeBuffers(std::size_t receiveBytes, std::size_t pageBytes);
  std::span<std::uint8_t> pageBuffer() { return page_; }

  // --- State ---
  const PortParams& params() const { return params_; }
  std::uint32_t state() const { return state_; }
  bool hasState(std::uint32_t flags) const { return (state_ & flags) == flags; }
  int lastError() const { return lastError_; }
  std::uint16_t runningCrc() const { return crc_; }
  void resetCrc() { crc_ = 0; }
  std::uint32_t receivedBytes() const { return received_; }
  int idleCountdown() const { return idleCountdown_; }
  void reloadIdleCountdown() { idleCountdown_ = params_.idleSeconds; }
  // One tick of the one-second idle timer; closes the port when the countdown reaches 0.
  void idleTick();
  // The serial port while open (null while closed).
  platform::SerialPort* port() { return port_.get(); }
  platform::Clock& clock() { return *services_.clock; }
  const LinkServices& services() const { return services_; }
  // Waits `ms` milliseconds, servicing the program through the pump.
  void wait(int ms);
  // Writes a line to the event log under the link's label.
  void logLine(std::string_view line);
  // Records a failure: sets kLinkError and `flags`, stores `code`, returns its Status.
  platform::Status fail(std::uint32_t flags, int code, std::string message);
  void setCallConnected(bool connected);

  // --- Console operations (virtual interface) ---
  virtual platform::Status WakeUp();
  virtual platform::Result<DumpAfterResult> DumpAfter(std::uint16_t dateStamp,
                                                      std::uint16_t timeStamp);
  virtual platform::Status ReadArchivePage(std::uint8_t expectedSequence, std::uint8_t& reply,
                                           std::size_t offset);
  virtual platform::Status AllocateDownloadBuffers(std::size_t pageCount);
  virtual platform::Status NewSetup();
  virtual platform::Result<std::uint8_t> ReadSetupBits();
  virtual platform::Status WriteSetupBits(std::uint8_t bits);
  virtual platform::Status EepromWriteByte(std::uint16_t address, std::uint8_t value);
  virtual platform::Status EepromRead(std::span<std::uint8_t> out, std::uint16_t address);
  virtual platform::Result<std::uint8_t> EepromReadByte(std::uint16_t address);
  virtual platform::Result<TransmitterList> ReadTransmitterList();
  virtual platform::Result<TransmitterType> ReadTransmitterType(int channel);
  virtual platform::Status WriteTransmitterType(int channel, int type, int repeater, int low,
                                                int high);
  virtual platform::Result<int> FindWindTransmitter();
  virtual platform::Result<FirmwareDate> GetFirmwareDate();
  virtual platform::Status SetGmtOffset(int zoneIndex);
  virtual platform::Result<ConsoleTime> GetTime();
  virtual platform::Status SetTime(const ConsoleTime& time);
  virtual platform::Status StartLoop(int count);
  virtual platform::Status StopLoop();
  virtual platform::Status GetSensorImage(SensorImage& image);
  // 0: a packet was decoded; 1: the packet is not complete yet.
  virtual platform::Result<int> ReadLoopPacket(SensorImage& image);
  virtual platform::Result<HiLowsBlock> ReadHiLows();
  virtual platform::Result<int> GetArchiveInterval();
  virtual platform::Status SetArchiveInterval(int intervalCode);
  virtual platform::Status ClearArchive();
  virtual platform::Result<int> GetElevation();
  virtual platform::Status PutRain(int yearlyRainClicks);
  virtual platform::Status ClearHighs(int period);
  virtual platform::Status ClearLows(int period);
  virtual platform::Status ClearGraphs();
  virtual platform::Status ClearAlarms();
  virtual platform::Status ClearCalibration();
  virtual platform::Status ClearCurrentValue(int variable);
  virtual platform::Status SetBarometer(int reading, int elevation);
  virtual platform::Result<CalibrationBlock> ReadCalibration();
  virtual platform::Status WriteCalibration(const CalibrationBlock& block);
  virtual platform::Result<CalibratedReadingsBlock> ReadCalibratedReadings();
  virtual platform::Status WriteCalibratedReadings(const CalibratedReadingsBlock& block);
  virtual platform::Result<int> GetRainCollector();
  virtual platform::Status SetRainCollector(int code);
  virtual platform::Result<int> GetWindCupSize();
  virtual platform::Status SetWindCupSize(int size);
  virtual platform::Result<int> GetLatitude();
  virtual platform::Result<int> GetLongitude();
  virtual platform::Status SetLatLong(int latitude, int longitude);
  virtual platform::Result<AlarmThresholdBlock> ReadAlarmThresholds();
  virtual platform::Status WriteAlarmThresholds(const AlarmThresholdBlock& block);
  virtual platform::Result<ReceptionCounts> ReceptionCheck();
  virtual platform::Result<std::string> ReadBarometerData();

 protected:
  // The answer of every operation a console variant does not have.
  platform::Status notSupported(const char* operation) const;

 private:
  platform::Result<std::size_t> readSome(std::span<std::uint8_t> into);
  platform::Status readFailure(const platform::Status& cause);
  platform::Status expectText(std::string_view text, std::size_t at, bool flushAfter);

  PortParams params_;
  LinkServices services_;
  std::unique_ptr<platform::SerialPort> port_;
  std::uint32_t state_ = kConfigured;
  std::vector<std::uint8_t> receive_;
  std::vector<std::uint8_t> page_;
  int readAhead_ = -1;
  std::uint32_t received_ = 0;
  int idleCountdown_ = 0;
  platform::SerialTimeouts saved_;
  std::uint16_t crc_ = 0;
  int lastError_ = 0;
  // Set by a flush that succeeded, cleared by any read or write on the port.
  bool justFlushed_ = false;
  // When a byte was last written or read: a flush lets the console's answer settle for
  // 20 ms after it, and a line quiet for longer than that has nothing more on its way.
  platform::Instant lastTraffic_{};
};

}  // namespace stationlink
