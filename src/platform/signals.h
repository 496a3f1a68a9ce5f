#pragma once

#include <vector>

namespace platform {

// The self-pipe for termination signals: the handler writes the signal number as one
// byte to a non-blocking pipe and does nothing else; the event loop polls the read end
// and drains it on its own thread. One per process; the destructor restores the default
// dispositions.
class SignalPipe {
 public:
  SignalPipe();
  ~SignalPipe();
  SignalPipe(const SignalPipe&) = delete;
  SignalPipe& operator=(const SignalPipe&) = delete;

  // Installs handlers for SIGINT and SIGTERM and ignores SIGPIPE. False on failure.
  bool install();
  // The descriptor to poll for reading; -1 before install().
  int readFd() const { return readFd_; }
  // The signal numbers that arrived since the last drain, in order.
  std::vector<int> drain();

  // For tests: delivers `signalNumber` to this process.
  static void raiseForTest(int signalNumber);
  static int interruptSignal();
  static int terminateSignal();

 private:
  int readFd_ = -1;
  int writeFd_ = -1;
  bool installed_ = false;
};

}  // namespace platform
