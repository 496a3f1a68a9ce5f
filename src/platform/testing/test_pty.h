#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <span>
#include <streambuf>
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
  // A pty whose slave side is a terminal as a person has it: lines, echo, Ctrl-C. The
  // program under test reads and writes the slave through slaveIn(), slaveOut() and
  // slaveFd(); the test is the person at the master side.
  static Result<std::unique_ptr<TestPty>> openTerminal();
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

  int slaveFd() const { return slave_; }
  std::istream& slaveIn() { return slaveIn_; }
  std::ostream& slaveOut() { return slaveOut_; }

 private:
  // Unbuffered reads and writes of the slave descriptor.
  class SlaveBuf : public std::streambuf {
   public:
    explicit SlaveBuf(int fd) : fd_(fd) {}

   protected:
    int_type underflow() override;
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

   private:
    int fd_;
    char ch_ = 0;
  };

  TestPty(int master, int slave, std::string path)
      : master_(master),
        slave_(slave),
        slavePath_(std::move(path)),
        buf_(slave),
        slaveIn_(&buf_),
        slaveOut_(&buf_) {}
  int master_;
  int slave_;
  std::string slavePath_;
  SlaveBuf buf_;
  std::istream slaveIn_;
  std::ostream slaveOut_;
};

}  // namespace platform
