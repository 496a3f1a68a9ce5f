#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/status.h"

namespace platform {

// Error codes a console link reports for a port that cannot be opened. They travel in
// Status::code() so the link can store them unchanged as its last error.
constexpr int kPortMissingCode = -11;  // no such device
constexpr int kPortBusyCode = -12;     // held by another program (or by us through another open)

// The five time-out values of a serial operation, in milliseconds. They keep the meaning the
// console protocol was designed around:
//
//  * A read of n bytes may last at most readConstantMs + readPerByteMs * n (the total).
//  * When readIntervalMs > 0, once the first byte has arrived the read also ends as soon as
//    no further byte arrives within readIntervalMs of the previous one.
//  * A read whose total is 0 and whose interval is 0 does not wait: it returns only the
//    bytes already received.
//  * A write of n bytes may last at most writeConstantMs + writePerByteMs * n. A total of 0
//    does not mean "for ever": such a write is given kUnboundedWriteCapMs.
struct SerialTimeouts {
  std::uint32_t readIntervalMs = 0;
  std::uint32_t readPerByteMs = 25;
  std::uint32_t readConstantMs = 2000;
  std::uint32_t writePerByteMs = 25;
  std::uint32_t writeConstantMs = 2000;

  bool operator==(const SerialTimeouts&) const = default;

  std::uint64_t readTotalMs(std::size_t count) const {
    return readConstantMs + static_cast<std::uint64_t>(readPerByteMs) * count;
  }
  std::uint64_t writeTotalMs(std::size_t count) const;
};

// The bound on a write whose profile sets no total, so a stuck line never hangs the program.
constexpr std::uint32_t kUnboundedWriteCapMs = 5000;

inline std::uint64_t SerialTimeouts::writeTotalMs(std::size_t count) const {
  const std::uint64_t total = writeConstantMs + static_cast<std::uint64_t>(writePerByteMs) * count;
  return total == 0 ? kUnboundedWriteCapMs : total;
}

// How a port is set up when it opens. The line is always raw, 8 data bits, no parity, one
// stop bit, no XON/XOFF.
struct SerialSettings {
  std::uint32_t baudRate = 19200;  // 1200, 2400, 4800, 9600, 14400 or 19200 (others if the
                                   // device accepts them)
  bool ctsDsrFlowControl = false;  // hardware output flow control (RTS/CTS on Linux)
};

// One open serial line. Not thread-safe; the program uses a port from one thread.
//
// The port keeps a current time-out profile (setTimeouts/timeouts) used by read() and write();
// readWithin()/writeWithin() take a profile for one operation only and leave the current one
// untouched.
//
// Contract for implementations, the real one and fakes alike:
//  * readWithin() returns when `into` is full, when the total time-out has passed, or when the
//    interval time-out ends a read that has received at least one byte. It returns the count
//    read (0 to into.size()). A short count with an OK result is a time-out, not an error.
//    A failed Result means the line itself failed (device gone, line error); its code() is the
//    system error number when there is one.
//  * A fake driven by a fake clock must make waiting visible as time: when it cannot fill the
//    request it advances the clock to the moment the read would end (the total deadline, or
//    the last byte plus the interval) and returns what arrived by then.
//  * writeWithin() returns the count written. A short count with an OK result is a time-out.
//    Writes never block for ever (see SerialTimeouts).
//  * A closed or broken port answers every call with a failed Status; no call ever throws.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual Result<std::size_t> readWithin(std::span<std::uint8_t> into,
                                         const SerialTimeouts& timeouts) = 0;
  virtual Result<std::size_t> writeWithin(std::span<const std::uint8_t> bytes,
                                          const SerialTimeouts& timeouts) = 0;

  // Discards what the driver holds: bytes received but not yet read (input) and bytes queued
  // but not yet sent (output).
  virtual Status purge(bool input, bool output) = 0;

  // Raises or drops the DTR line. Dropping it hangs up a modem. On a device without modem
  // lines dropping DTR sets the speed to 0 (which hangs up) and raising it restores the speed.
  virtual Status setDtr(bool asserted) = 0;

  virtual Status setBaudRate(std::uint32_t baudRate) = 0;
  virtual std::uint32_t baudRate() const = 0;

  // The port's current time-out profile.
  void setTimeouts(const SerialTimeouts& t) { timeouts_ = t; }
  const SerialTimeouts& timeouts() const { return timeouts_; }

  Result<std::size_t> read(std::span<std::uint8_t> into) { return readWithin(into, timeouts_); }
  Result<std::size_t> write(std::span<const std::uint8_t> bytes) {
    return writeWithin(bytes, timeouts_);
  }

 private:
  SerialTimeouts timeouts_;
};

// Opens serial ports.
class SerialPortOpener {
 public:
  virtual ~SerialPortOpener() = default;

  // Opens `port` for exclusive use with the given settings. `port` is either a port number
  // written in decimal ("3", which the real opener looks up in the port map comports.txt) or a
  // device path ("/dev/ttyUSB0").
  // Fails with code kPortMissingCode (kind kNotFound) when the device does not exist, with
  // kPortBusyCode (kind kBusy) when another program holds it, otherwise with kind kIo and the
  // system error number as code.
  virtual Result<std::unique_ptr<SerialPort>> open(const std::string& port,
                                                   const SerialSettings& settings) = 0;
};

// The real opener: termios devices, port numbers resolved through comports.txt in the
// program directory (the current directory when this is first called).
SerialPortOpener& defaultSerialPortOpener();
// The real opener of another program directory, whose comports.txt maps its port numbers.
// Kept for the life of the process, like the default one.
SerialPortOpener& serialPortOpenerFor(const std::string& programDir);

}  // namespace platform
