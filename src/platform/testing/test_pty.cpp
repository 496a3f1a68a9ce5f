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

Result<std::unique_ptr<TestPty>> TestPty::openTerminal() {
  int master = -1;
  int slave = -1;
  char name[256] = {};
  termios tio{};
  // The line discipline's usual settings: canonical lines, echo, signals, CR-LF output.
  tio.c_iflag = ICRNL;
  tio.c_oflag = OPOST | ONLCR;
  tio.c_cflag = CS8 | CREAD | CLOCAL;
  tio.c_lflag = ICANON | ECHO | ECHOE | ISIG;
  tio.c_cc[VINTR] = 3;
  tio.c_cc[VERASE] = 127;
  tio.c_cc[VEOF] = 4;
  tio.c_cc[VMIN] = 1;
  cfsetspeed(&tio, B38400);
  if (openpty(&master, &slave, name, &tio, nullptr) != 0) {
    return Status::io(std::string("openpty failed: ") + std::strerror(errno), errno);
  }
  (void)fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  return std::unique_ptr<TestPty>(new TestPty(master, slave, name));
}

TestPty::SlaveBuf::int_type TestPty::SlaveBuf::underflow() {
  for (;;) {
    ssize_t n = ::read(fd_, &ch_, 1);
    if (n == 1) {
      setg(&ch_, &ch_, &ch_ + 1);
      return traits_type::to_int_type(ch_);
    }
    if (n < 0 && errno == EINTR) continue;
    return traits_type::eof();
  }
}

TestPty::SlaveBuf::int_type TestPty::SlaveBuf::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  char b = traits_type::to_char_type(c);
  return xsputn(&b, 1) == 1 ? c : traits_type::eof();
}

std::streamsize TestPty::SlaveBuf::xsputn(const char* s, std::streamsize n) {
  std::streamsize done = 0;
  while (done < n) {
    ssize_t w = ::write(fd_, s + done, static_cast<std::size_t>(n - done));
    if (w > 0) {
      done += w;
    } else if (!(w < 0 && errno == EINTR)) {
      break;
    }
  }
  return done;
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
