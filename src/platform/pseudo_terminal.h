#pragma once

// A pseudo-terminal pair for serving a simulated serial device. The program under test
// opens the slave path like any serial port; the simulator reads and writes the master.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/status.h"

namespace platform {

class PseudoTerminal {
 public:
  // Opens a new pair with the slave in raw mode (no echo, no line editing, 8 data bits).
  // The master is non-blocking. The terminal keeps its own descriptor of the slave open
  // so that the line does not hang up when the program closes its end.
  static Result<std::unique_ptr<PseudoTerminal>> open();

  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // The device path the program opens ("/dev/pts/N").
  const std::string& slavePath() const { return slavePath_; }

  // Waits up to `wait` for bytes written on the slave side and reads what is there.
  // Returns the count; 0 when the wait ended without data (or a signal cut it short).
  Result<std::size_t> read(std::span<std::uint8_t> into, std::chrono::milliseconds wait);
  // Writes what the terminal takes now without blocking; returns the count taken.
  Result<std::size_t> write(std::span<const std::uint8_t> bytes);

 private:
  PseudoTerminal(int master, int slave, std::string path)
      : master_(master), slave_(slave), slavePath_(std::move(path)) {}

  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

}  // namespace platform
