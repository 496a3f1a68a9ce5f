#include "platform/testing/test_pty.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

Result<std::unique_ptr<TestPty>> TestPty::open() {
  int master = -1;
  int slave = -1;
  char name[256] = {};
  if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
    return Status::io(std::string("openpty failed: ") + std::strerror(errno), errno);
  }
  termios tio{};
  if (tcgetattr(slave, &tio) == 0) {
    cfmakeraw(&tio);
    (void)tcsetattr(slave, TCSANOW, &tio);
  }
  (void)fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  return std::unique_ptr<TestPty>(new TestPty(master, slave, name));
}

TestPty::~TestPty() {
  ::close(master_);
  ::close(slave_);
}

Status TestPty::write(std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t r = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (r > 0) {
      done += static_cast<std::size_t>(r);
    } else if (r < 0 && (errno == EINTR || errno == EAGAIN)) {
      pollfd p{master_, POLLOUT, 0};
      (void)::poll(&p, 1, 100);
    } else {
      return Status::io(std::string("pty write failed: ") + std::strerror(errno), errno);
    }
  }
  return Status::ok();
}

Result<std::vector<std::uint8_t>> TestPty::read(int timeoutMs) {
  std::vector<std::uint8_t> out;
  pollfd p{master_, POLLIN, 0};
  int r = ::poll(&p, 1, timeoutMs);
  if (r <= 0) return out;
  std::uint8_t buf[512];
  for (;;) {
    ssize_t n = ::read(master_, buf, sizeof buf);
    if (n > 0) {
      out.insert(out.end(), buf, buf + n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    break;  // EAGAIN: all read; EIO: no slave open right now
  }
  return out;
}

std::uint32_t TestPty::slaveBaudRate() const {
  termios tio{};
  if (tcgetattr(slave_, &tio) != 0) return 0;
  switch (cfgetospeed(&tio)) {
    case B1200:
      return 1200;
    case B2400:
      return 2400;
    case B4800:
      return 4800;
    case B9600:
      return 9600;
    case B19200:
      return 19200;
    default:
      return 0;
  }
}

}  // namespace platform
