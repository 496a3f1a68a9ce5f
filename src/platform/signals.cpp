#include "platform/signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace platform {

namespace {

// The write end, read by the handler; a handler may only touch lock-free atomics.
std::atomic<int> gSignalWriteFd{-1};

extern "C" void onTerminationSignal(int signalNumber) {
  int savedErrno = errno;
  int fd = gSignalWriteFd.load();
  if (fd >= 0) {
    auto byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a wake-up, so a lost byte loses nothing.
    [[maybe_unused]] ssize_t n = ::write(fd, &byte, 1);
  }
  errno = savedErrno;
}

bool setNonBlocking(int fd) {
  int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

SignalPipe::SignalPipe() = default;

SignalPipe::~SignalPipe() {
  if (installed_) {
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(SIGINT, &dfl, nullptr);
    ::sigaction(SIGTERM, &dfl, nullptr);
    gSignalWriteFd.store(-1);
  }
  if (readFd_ >= 0) ::close(readFd_);
  if (writeFd_ >= 0) ::close(writeFd_);
}

bool SignalPipe::install() {
  if (installed_) return true;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  readFd_ = fds[0];
  writeFd_ = fds[1];
  if (!setNonBlocking(readFd_) || !setNonBlocking(writeFd_)) return false;
  gSignalWriteFd.store(writeFd_);

  struct sigaction sa {};
  sa.sa_handler = onTerminationSignal;
  sigemptyset(&sa.sa_mask);
  // SA_RESTART: a signal must not make a blocking serial read in a long job fail.
  sa.sa_flags = SA_RESTART;
  if (::sigaction(SIGINT, &sa, nullptr) != 0 || ::sigaction(SIGTERM, &sa, nullptr) != 0) {
    return false;
  }
  struct sigaction ign {};
  ign.sa_handler = SIG_IGN;
  sigemptyset(&ign.sa_mask);
  ::sigaction(SIGPIPE, &ign, nullptr);
  installed_ = true;
  return true;
}

std::vector<int> SignalPipe::drain() {
  std::vector<int> got;
  if (readFd_ < 0) return got;
  unsigned char buf[64];
  for (;;) {
    ssize_t n = ::read(readFd_, buf, sizeof buf);
    if (n > 0) {
      for (ssize_t i = 0; i < n; ++i) got.push_back(buf[i]);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    break;
  }
  return got;
}

void SignalPipe::raiseForTest(int signalNumber) { ::raise(signalNumber); }
int SignalPipe::interruptSignal() { return SIGINT; }
int SignalPipe::terminateSignal() { return SIGTERM; }

}  // namespace platform
