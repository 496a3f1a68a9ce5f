#include "platform/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {
namespace {

Status systemError(const char* what, int err) {
  return Status::io(std::string("pseudo-terminal: ") + what + ": " + std::strerror(err), err);
}

// Opens a pair through the multiplexer of the devpts instance mounted at /dev/pts. In a
// container /dev/ptmx may belong to another instance, whose slaves have no path here.
bool openMountedPair(int& master, int& slave, std::string& name) {
  master = ::open("/dev/pts/ptmx", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) return false;
  char buf[128] = {};
  if (grantpt(master) == 0 && unlockpt(master) == 0 && ptsname_r(master, buf, sizeof buf) == 0) {
    slave = ::open(buf, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave >= 0) {
      name = buf;
      return true;
    }
  }
  ::close(master);
  master = -1;
  return false;
}

}  // namespace

Result<std::unique_ptr<PseudoTerminal>> PseudoTerminal::open() {
  int master = -1;
  int slave = -1;
  std::string name;
  struct termios raw {};
  cfmakeraw(&raw);
  raw.c_cflag |= CLOCAL | CREAD;
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  cfsetispeed(&raw, B19200);
  cfsetospeed(&raw, B19200);
  if (openMountedPair(master, slave, name)) {
    if (tcsetattr(slave, TCSANOW, &raw) != 0) {
      const int err = errno;
      ::close(master);
      ::close(slave);
      return systemError("tcsetattr", err);
    }
  } else {
    char buf[256] = {};
    if (openpty(&master, &slave, buf, &raw, nullptr) != 0) return systemError("openpty", errno);
    name = buf;
    if (fcntl(master, F_SETFD, FD_CLOEXEC) != 0 || fcntl(slave, F_SETFD, FD_CLOEXEC) != 0) {
      const int err = errno;
      ::close(master);
      ::close(slave);
      return systemError("fcntl", err);
    }
  }
  const int flags = fcntl(master, F_GETFL);
  if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) {
    const int err = errno;
    ::close(master);
    ::close(slave);
    return systemError("fcntl", err);
  }
  return std::unique_ptr<PseudoTerminal>(new PseudoTerminal(master, slave, name));
}

PseudoTerminal::~PseudoTerminal() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

Result<std::size_t> PseudoTerminal::read(std::span<std::uint8_t> into,
                                         std::chrono::milliseconds wait) {
  if (into.empty()) return std::size_t{0};
  struct pollfd pfd {
    master_, POLLIN, 0
  };
  const int ms = wait.count() < 0 ? 0 : static_cast<int>(std::min<long long>(wait.count(), 60'000));
  const int ready = ::poll(&pfd, 1, ms);
  if (ready < 0) {
    if (errno == EINTR) return std::size_t{0};
    return systemError("poll", errno);
  }
  if (ready == 0 || !(pfd.revents & POLLIN)) return std::size_t{0};
  for (;;) {
    const ssize_t n = ::read(master_, into.data(), into.size());
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno == EINTR) continue;
    // EIO: no slave open at this instant; EAGAIN: the byte was taken elsewhere.
    if (errno == EAGAIN || errno == EIO) return std::size_t{0};
    return systemError("read", errno);
  }
}

Result<std::size_t> PseudoTerminal::write(std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return systemError("write", errno);
    break;
  }
  return done;
}

}  // namespace platform
