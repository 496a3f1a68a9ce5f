#pragma once

// The simulated console: bytes in, bytes out, time from a Clock.
//
// The engine answers the console's text commands, configuration-memory block transfers,
// the DMPAFT archive dump with its page handshake, and LOOP packet streams, all from its own
// state: configuration memory, a console clock, an archive ring that a weather model fills
// at the archive interval, and the same model for current conditions.
//
// It performs no I/O. A front (an in-process serial port, a pseudo-terminal) hands it the
// bytes the program wrote with receive(), collects the bytes that are due with transmit(),
// and asks nextOutputAt() how long it may wait. Every reply byte carries the moment it is
// ready, so LOOP packets come two seconds apart and, with pacing on, each byte takes its
// time on the line at the configured baud rate.

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "consolesim/archive_ring.h"
#include "consolesim/config_memory.h"
#include "consolesim/console_records.h"
#include "consolesim/fault_plan.h"
#include "consolesim/weather_model.h"
#include "platform/clock.h"

namespace consolesim {

struct EngineOptions {
  std::uint64_t seed = 1;
  bool solarAndUv = true;       // the "plus" model; false: the plain model
  std::uint8_t modelCode = 16;  // answered to the identification command
  int archiveIntervalMinutes = 5;
  int historyDays = 2;  // days of archive before the start, at most the ring
  // The console clock at creation; empty: the clock's local time.
  std::optional<platform::CivilTime> start;
  FirmwareDate firmware;
  bool pace = false;  // output at baudRate, 10 bits a byte
  std::uint32_t baudRate = 19200;
  std::chrono::milliseconds loopPeriod{2000};
  std::chrono::milliseconds disconnectFor{30000};
  std::vector<FaultRule> faults;
};

// What the console has been told to clear, for tests and the status line.
struct ConsoleCounters {
  std::array<int, 3> highsCleared{};
  std::array<int, 3> lowsCleared{};
  int graphsCleared = 0;
  int alarmsCleared = 0;
  int variablesCleared = 0;
  int newSetups = 0;
  int archiveClears = 0;
  int commands = 0;
};

class ConsoleEngine {
 public:
  // `clock` must outlive the engine.
  ConsoleEngine(const platform::Clock& clock, EngineOptions options);

  // Bytes from the program, arriving now.
  void receive(std::span<const std::uint8_t> bytes);
  // Copies out the reply bytes that are due by now; returns the count.
  std::size_t transmit(std::span<std::uint8_t> into);
  // When the next reply byte will be due (maybe already), or empty if nothing is coming
  // without further input.
  std::optional<platform::Instant> nextOutputAt();
  // Drops the reply bytes already due, as a purge of the program's input does.
  void discardDueOutput();

  void setBaudRate(std::uint32_t baud) { options_.baudRate = baud == 0 ? 1 : baud; }
  // True while a "disconnect" fault keeps the line dead.
  bool lineDead();

  // The console's state, brought up to date with the clock.
  const ConfigMemory& memory();
  ConfigMemory& mutableMemory();
  const ArchiveRing& archive();
  platform::CivilTime consoleTime();
  const ConsoleCounters& counters() const { return counters_; }
  const FaultPlan& faults() const { return faults_; }
  // Changes the console clock, as SETTIME does.
  void setConsoleTime(const platform::CivilTime& local);

 private:
  enum class Mode { kIdle, kBinary, kDumpStart, kDumpPage, kLoop };
  // How long the console waits for the rest of a binary block, or for the program's answer
  // to an archive page, before it gives up and listens for commands again.
  static constexpr std::int64_t kAnswerWaitUs = 3'000'000;
  enum class BinaryUse { kEepromWrite, kSetTime, kCalFix, kDumpStamps };

  // Time.
  std::int64_t nowUs() const;
  LocalSeconds consoleSeconds() const;
  void update();
  void archiveDueRecords();
  void emitDueLoopPackets();

  // Output.
  void queue(std::span<const std::uint8_t> bytes, std::int64_t atUs);
  void reply(std::span<const std::uint8_t> bytes);
  void replyText(std::string_view text);
  bool replyAck();  // false when a fault turned the ACK into something else
  void replyNak();
  void replyOk();
  void replyBlock(std::vector<std::uint8_t> data);  // data followed by its CRC

  // Input.
  void onByte(std::uint8_t b);
  void onIdleByte(std::uint8_t b);
  void onBinaryByte(std::uint8_t b);
  void expectBlock(std::size_t dataBytes, BinaryUse use, std::size_t address = 0);
  void onBlock(std::span<const std::uint8_t> data);

  // Commands (console_commands.cpp).
  void runCommand(std::string_view line);
  void cmdEepromRead(std::string_view args);
  void cmdEepromBlockWrite(std::string_view args);
  void cmdEepromWrite(std::string_view args);
  void cmdGetTime();
  void cmdLoop(std::string_view args);
  void cmdSetPeriod(std::string_view args);
  void cmdPutRain(std::string_view args);
  void cmdClearHighLow(std::string_view args, std::array<int, 3>& counter);
  void cmdClearVariable(std::string_view args);
  void cmdBarometer(std::string_view args);
  void cmdCalibratedReadings();
  void cmdHiLows();
  void cmdReceptionCheck();
  void cmdBarometerData();
  void replyDone();
  void applyCalibratedReadings(std::span<const std::uint8_t> block);
  bool applySetTime(std::span<const std::uint8_t> block);

  // Archive dump (archive_dump.cpp).
  void startDump(std::span<const std::uint8_t> stamps);
  void onDumpByte(std::uint8_t b);
  void sendPage();
  void awaitDumpAnswer();

  const platform::Clock& clock_;
  EngineOptions options_;
  WeatherModel model_;
  ConfigMemory memory_;
  ArchiveRing ring_;
  FaultPlan faults_;
  SensorSuite suite_;
  RecordLayout layout_;
  ConsoleCounters counters_;

  // Console clock: local seconds at baseMonoMs_.
  LocalSeconds baseLocal_ = 0;
  std::int64_t baseMonoMs_ = 0;
  int activeInterval_ = 0;
  LocalSeconds nextArchiveAt_ = 0;
  int yearRainOffset_ = 0;

  struct Pending {
    std::int64_t readyUs;
    std::uint8_t byte;
  };
  std::deque<Pending> out_;
  std::int64_t lineFreeUs_ = 0;  // when the last queued byte has left the console
  std::int64_t deadUntilUs_ = -1;

  Mode mode_ = Mode::kIdle;
  std::string line_;
  bool lineOverflow_ = false;

  BinaryUse binaryUse_ = BinaryUse::kEepromWrite;
  std::size_t binaryAddress_ = 0;
  std::size_t binaryWanted_ = 0;
  std::vector<std::uint8_t> binary_;
  std::int64_t binaryDeadlineUs_ = 0;

  int loopRemaining_ = 0;
  std::int64_t nextLoopUs_ = 0;

  std::vector<std::uint8_t> dumpPages_;  // snapshot of the pages being dumped
  std::size_t dumpPageCount_ = 0;
  std::size_t dumpIndex_ = 0;
  std::int64_t dumpDeadlineUs_ = 0;  // the dump is given up after this without an answer
};

}  // namespace consolesim
