#pragma once

// The in-process front: a platform::SerialPort whose other end is a ConsoleEngine, driven
// by a FakeClock. A read that cannot be filled moves the fake clock to the moment the read
// would end (or to the next byte the console sends before then), so every time-out in a
// test costs no real time. The engine must run on the same FakeClock.

#include <cstdint>
#include <memory>
#include <string>

#include "consolesim/console_engine.h"
#include "platform/clock.h"
#include "platform/serial_port.h"

namespace consolesim {

class SimSerialPort final : public platform::SerialPort {
 public:
  // Both must outlive the port.
  SimSerialPort(ConsoleEngine& engine, platform::FakeClock& clock);

  platform::Result<std::size_t> readWithin(std::span<std::uint8_t> into,
                                           const platform::SerialTimeouts& timeouts) override;
  platform::Result<std::size_t> writeWithin(std::span<const std::uint8_t> bytes,
                                            const platform::SerialTimeouts& timeouts) override;
  platform::Status purge(bool input, bool output) override;
  platform::Status setDtr(bool asserted) override;
  platform::Status setBaudRate(std::uint32_t baudRate) override;
  std::uint32_t baudRate() const override { return baudRate_; }

  // Makes every later call fail as a port whose device vanished does (a pulled adapter).
  void breakLine(bool broken) { broken_ = broken; }
  // What the program has written, in order, for tests that check the bytes sent.
  const std::vector<std::uint8_t>& written() const { return written_; }

 private:
  void advanceTo(platform::Instant t);

  ConsoleEngine& engine_;
  platform::FakeClock& clock_;
  std::uint32_t baudRate_ = 19200;
  bool dtr_ = true;
  bool broken_ = false;
  std::vector<std::uint8_t> written_;
};

// Hands the in-process console to whoever opens a port, whatever port is named.
class SimSerialPortOpener final : public platform::SerialPortOpener {
 public:
  // Both must outlive the opener.
  SimSerialPortOpener(ConsoleEngine& engine, platform::FakeClock& clock)
      : engine_(engine), clock_(clock) {}
  platform::Result<std::unique_ptr<platform::SerialPort>> open(
      const std::string&, const platform::SerialSettings&) override {
    return std::unique_ptr<platform::SerialPort>(new SimSerialPort(engine_, clock_));
  }

 private:
  ConsoleEngine& engine_;
  platform::FakeClock& clock_;
};

}  // namespace consolesim
