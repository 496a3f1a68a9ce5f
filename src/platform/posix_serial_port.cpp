#include "platform/posix_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>

#include "platform/com_port_map.h"

namespace platform {

namespace {

using std::chrono::milliseconds;

std::string errnoText(int err) { return std::strerror(err); }

speed_t standardSpeed(std::uint32_t baud) {
  switch (baud) {
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return B0;
  }
}

// Applies `baud` to `fd`; errno value or 0.
int applyBaudRate(int fd, std::uint32_t baud) {
  speed_t speed = standardSpeed(baud);
  if (speed == B0) return setArbitraryBaudRate(fd, baud);
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return errno;
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  if (tcsetattr(fd, TCSANOW, &tio) != 0) return errno;
  return 0;
}

class PosixSerialPort : public SerialPort {
 public:
  PosixSerialPort(int fd, std::string path, std::uint32_t baud, Clock& clock)
      : fd_(fd), path_(std::move(path)), baud_(baud), clock_(clock) {}
  ~PosixSerialPort() override {
    // The lock goes with the descriptor; nothing else to undo.
    ::close(fd_);
  }

  Result<std::size_t> readWithin(std::span<std::uint8_t> into, const SerialTimeouts& t) override {
    const Instant start = clock_.now();
    const Instant deadline = start + milliseconds(t.readTotalMs(into.size()));
    const bool waits = t.readTotalMs(into.size()) != 0 || t.readIntervalMs != 0;
    std::size_t got = 0;
    Instant lastByte = start;
    while (got < into.size()) {
      ssize_t r = ::read(fd_, into.data() + got, into.size() - got);
      if (r > 0) {
        got += static_cast<std::size_t>(r);
        lastByte = clock_.now();
        continue;
      }
      if (r < 0 && errno == EINTR) continue;
      if (r < 0 && errno != EAGAIN) return fail("read from", errno);
      if (!waits) break;
      Instant until = deadline;
      if (t.readIntervalMs != 0 && got > 0) {
        until = std::min(until, lastByte + milliseconds(t.readIntervalMs));
      }
      const auto left = (until - clock_.now()).count();
      if (left <= 0) break;
      if (Status s = waitFor(POLLIN, left); !s) return s;
    }
    return got;
  }

  Result<std::size_t> writeWithin(std::span<const std::uint8_t> bytes,
                                  const SerialTimeouts& t) override {
    const Instant deadline = clock_.now() + milliseconds(t.writeTotalMs(bytes.size()));
    std::size_t done = 0;
    while (done < bytes.size()) {
      ssize_t r = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (r > 0) {
        done += static_cast<std::size_t>(r);
        continue;
      }
      if (r < 0 && errno == EINTR) continue;
      if (r < 0 && errno != EAGAIN) return fail("write to", errno);
      const auto left = (deadline - clock_.now()).count();
      if (left <= 0) break;
      if (Status s = waitFor(POLLOUT, left); !s) return s;
    }
    return done;
  }

  Status purge(bool input, bool output) override {
    if (!input && !output) return Status::ok();
    int which = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
    if (tcflush(fd_, which) != 0) return fail("flush", errno);
    return Status::ok();
  }

  Status setDtr(bool asserted) override {
    int bits = TIOCM_DTR;
    if (ioctl(fd_, asserted ? TIOCMBIS : TIOCMBIC, &bits) == 0) return Status::ok();
    // No modem lines (a USB bridge without them, a pseudo-terminal): speed 0 is the
    // terminal's way of hanging up, and restoring the speed raises the line again.
    if (!asserted) {
      termios tio{};
      if (tcgetattr(fd_, &tio) != 0) return fail("read the settings of", errno);
      cfsetospeed(&tio, B0);
      if (tcsetattr(fd_, TCSANOW, &tio) != 0) return fail("hang up", errno);
      return Status::ok();
    }
    if (int err = applyBaudRate(fd_, baud_); err != 0) return fail("raise DTR on", err);
    return Status::ok();
  }

  Status setBaudRate(std::uint32_t baudRate) override {
    if (int err = applyBaudRate(fd_, baudRate); err != 0) return fail("set the speed of", err);
    baud_ = baudRate;
    return Status::ok();
  }
  std::uint32_t baudRate() const override { return baud_; }

 private:
  Status waitFor(short events, long long ms) {
    pollfd p{fd_, events, 0};
    int r = ::poll(&p, 1, static_cast<int>(std::min<long long>(ms, 60000)));
    if (r < 0 && errno != EINTR) return fail("wait on", errno);
    if (r > 0 && (p.revents & (POLLERR | POLLNVAL))) return fail("wait on", EIO);
    if (r > 0 && (p.revents & POLLHUP) && !(p.revents & events)) return fail("wait on", EIO);
    return Status::ok();
  }
  Status fail(const char* what, int err) {
    return Status::io(std::string("cannot ") + what + " " + path_ + ": " + errnoText(err), err);
  }

  int fd_;
  std::string path_;
  std::uint32_t baud_;
  Clock& clock_;
};

}  // namespace

Result<std::unique_ptr<SerialPort>> PosixSerialPortOpener::open(const std::string& port,
                                                                const SerialSettings& settings) {
  Result<std::string> path = resolvePortName(files_, programDir_, port);
  if (!path) return path.status();
  return openDevice(*path, settings);
}

Result<std::unique_ptr<SerialPort>> PosixSerialPortOpener::openDevice(
    const std::string& path, const SerialSettings& settings) {
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    int err = errno;
    if (err == ENOENT || err == ENODEV || err == ENXIO || err == ENOTDIR) {
      return Status(Errc::kNotFound, "serial port " + path + " does not exist", kPortMissingCode);
    }
    if (err == EBUSY) {
      return Status(Errc::kBusy, "serial port " + path + " is in use by another program",
                    kPortBusyCode);
    }
    if (err == EACCES || err == EPERM) {
      return Status(Errc::kPermission,
                    "no permission to open " + path + " (is the user in the dialout group?)", err);
    }
    return Status::io("cannot open " + path + ": " + errnoText(err), err);
  }
  auto closeWith = [fd](Status s) {
    ::close(fd);
    return s;
  };
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) {
      return closeWith(Status(Errc::kBusy, "serial port " + path + " is in use by another program",
                              kPortBusyCode));
    }
    return closeWith(Status::io("cannot lock " + path + ": " + errnoText(errno), errno));
  }
  // Other openers get EBUSY from now on (privileged ones excepted; the lock covers us).
  (void)ioctl(fd, TIOCEXCL);

  termios tio{};
  if (tcgetattr(fd, &tio) != 0) {
    int err = errno;
    return closeWith(Status::io(path + " is not a serial port: " + errnoText(err), err));
  }
  cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8;
  if (settings.ctsDsrFlowControl) tio.c_cflag |= CRTSCTS;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | ISTRIP);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (tcsetattr(fd, TCSANOW, &tio) != 0) {
    int err = errno;
    return closeWith(Status::io("cannot configure " + path + ": " + errnoText(err), err));
  }
  if (int err = applyBaudRate(fd, settings.baudRate); err != 0) {
    return closeWith(Status::io("cannot set " + std::to_string(settings.baudRate) + " baud on " +
                                    path + ": " + errnoText(err),
                                err));
  }
  int lines = TIOCM_DTR | TIOCM_RTS;
  (void)ioctl(fd, TIOCMBIS, &lines);  // no modem lines on some devices; not an error
  return std::unique_ptr<SerialPort>(
      std::make_unique<PosixSerialPort>(fd, path, settings.baudRate, clock_));
}

namespace {

std::string startDirectory() {
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::current_path(ec);
  return ec ? std::string(".") : dir.string();
}

}  // namespace

SerialPortOpener& defaultSerialPortOpener() {
  static PosixSerialPortOpener opener(defaultFileSystem(), startDirectory(), systemClock());
  return opener;
}

SerialPortOpener& serialPortOpenerFor(const std::string& programDir) {
  static std::mutex guard;
  static std::map<std::string, std::unique_ptr<PosixSerialPortOpener>> openers;
  std::lock_guard<std::mutex> lock(guard);
  auto& opener = openers[programDir];
  if (!opener) {
    opener = std::make_unique<PosixSerialPortOpener>(defaultFileSystem(), programDir, systemClock());
  }
  return *opener;
}

}  // namespace platform
