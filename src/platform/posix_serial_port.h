#pragma once

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/serial_port.h"

namespace platform {

// Serial ports over termios. Ports are opened exclusively (TIOCEXCL against other openers and
// an flock against other instances of this program), raw 8N1, non-blocking; the time-out
// profiles are emulated with poll deadlines taken from `clock`.
class PosixSerialPortOpener : public SerialPortOpener {
 public:
  // Port numbers are looked up in comports.txt in `programDir`.
  PosixSerialPortOpener(FileSystem& files, std::string programDir, Clock& clock)
      : files_(files), programDir_(std::move(programDir)), clock_(clock) {}

  Result<std::unique_ptr<SerialPort>> open(const std::string& port,
                                           const SerialSettings& settings) override;

  // Opens a device path (no port-map lookup).
  Result<std::unique_ptr<SerialPort>> openDevice(const std::string& path,
                                                 const SerialSettings& settings);

 private:
  FileSystem& files_;
  std::string programDir_;
  Clock& clock_;
};

// Sets any baud rate the driver accepts on an open terminal, including rates that have no
// B-constant (14400), through termios2 and BOTHER. Returns 0 or an errno value.
int setArbitraryBaudRate(int fd, std::uint32_t baudRate);

}  // namespace platform
