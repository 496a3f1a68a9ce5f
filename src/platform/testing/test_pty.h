#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

// A pseudo-terminal for tests: the program opens slavePath() like any serial device and the
// test plays the device through the master side. The test keeps a descriptor of the slave
// open too, so closing the port under test does not hang the line up.
class TestPty {
 public:
  static Result<std::unique_ptr<TestPty>> open();
  ~TestPty();
  TestPty(const TestPty&) = delete;
  TestPty& operator=(const TestPty&) = delete;

  const std::string& slavePath() const { return slavePath_; }

  // Writes all of `bytes` to the master (the device's output).
  Status write(std::span<const std::uint8_t> bytes);
  // Waits up to `timeoutMs` for bytes the program wrote and returns those available then
  // (possibly none).
  Result<std::vector<std::uint8_t>> read(int timeoutMs);
  // The output speed the slave side is set to, in bits per second (0 if not known).
  std::uint32_t slaveBaudRate() const;

 private:
  TestPty(int master, int slave, std::string path)
      : master_(master), slave_(slave), slavePath_(std::move(path)) {}
  int master_;
  int slave_;
  std::string slavePath_;
};

}  // namespace platform
