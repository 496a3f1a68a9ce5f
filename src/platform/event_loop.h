#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace platform {

class SignalPipe;

// The descriptor of standard input, for watchLines.
inline constexpr int kStandardInput = 0;

// The program's one thread of control: a poll on the signal pipe, on line-oriented
// inputs (standard input when interactive) and on timer deadlines taken from the Clock.
//
// Handlers are short and never block. A long job that must wait inline calls pump(),
// which services signals (and so cancellation) but never runs timers or input handlers,
// so no handler is ever re-entered. Removing a timer or input from inside a handler is
// safe: it is marked and swept after the pass. Timers added during a pass first run on
// a later pass.
class EventLoop {
 public:
  using TimerId = std::uint64_t;
  // A timer handler returns when it wants to run again, or nullopt to end.
  using TimerHandler = std::function<std::optional<std::chrono::milliseconds>()>;
  // One line without its line end (CRLF accepted); `eof` is set once, with an empty line,
  // when the input closes.
  using LineHandler = std::function<void(std::string_view line, bool eof)>;
  using SignalHandler = std::function<void(int signalNumber)>;
  // A descriptor is ready: readable (a hang-up or an error counts as readable, so the
  // handler's read sees it) and/or writable.
  using FdHandler = std::function<void(bool readable, bool writable)>;

  explicit EventLoop(Clock& clock);
  ~EventLoop();
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  // Runs `handler` first after `delay` on the loop's clock.
  TimerId addTimer(std::chrono::milliseconds delay, TimerHandler handler);
  void removeTimer(TimerId id);

  // Reads lines from `fd` when it is readable. One reader per descriptor.
  void watchLines(int fd, LineHandler handler);
  // Every watch of `fd`, lines or raw.
  void unwatch(int fd);

  // Calls `handler` whenever `fd` is readable, and writable too while `wantWrite` holds.
  // One watch per descriptor; the handler reads and writes the descriptor itself.
  void watchFd(int fd, bool wantWrite, FdHandler handler);
  void setWantWrite(int fd, bool wantWrite);

  // Installs the signal pipe for SIGINT and SIGTERM (and ignores SIGPIPE); `handler` runs
  // on the loop's thread, from a pass or from pump(). Only one loop per process.
  // Returns false when the pipe cannot be created.
  bool handleTerminationSignals(SignalHandler handler);

  // Runs `task` on the next pass, before timers. Safe from any handler.
  void post(std::function<void()> task);

  // One pass: waits at most `maxWait` (real time) for input or a signal, or until the
  // earliest timer is due on the clock, then runs signal handlers, posted tasks, input
  // handlers and the timers that are due. Tests advance a FakeClock and pass zero.
  void runOnce(std::chrono::milliseconds maxWait);
  // Passes until stop() is called.
  void run();
  void stop() { stopped_ = true; }
  bool stopped() const { return stopped_; }

  // For long jobs: services pending signals without running timers, tasks or input.
  // Returns true when cancellation has been requested.
  bool pump();
  // Runs on every pump, for what must go on during a long job (the service watchdog).
  // It must be cheap and must not re-enter the loop.
  void setPumpHook(std::function<void()> hook) { pumpHook_ = std::move(hook); }
  // Asks the running long job to end early (set by the termination signal handlers).
  void requestCancel() { cancelRequested_ = true; }
  void clearCancel() { cancelRequested_ = false; }
  bool cancelRequested() const { return cancelRequested_; }

  // For tests: the timers still armed.
  std::size_t timerCount() const;

 private:
  struct Timer {
    TimerId id;
    Instant due;
    TimerHandler handler;
    bool removed = false;
    bool fresh = false;
  };
  struct Reader {
    int fd;
    LineHandler handler;
    std::string pending;
    bool removed = false;
  };

  struct FdWatch {
    int fd;
    bool wantWrite;
    FdHandler handler;
    bool removed = false;
  };

  void serviceSignals();
  void runTasks();
  void runTimers();
  void readInput(Reader& reader);
  void sweep();
  std::chrono::milliseconds waitFor(std::chrono::milliseconds maxWait) const;

  Clock& clock_;
  std::vector<std::unique_ptr<Timer>> timers_;
  std::vector<std::unique_ptr<Reader>> readers_;
  std::vector<std::unique_ptr<FdWatch>> watches_;
  std::vector<std::function<void()>> tasks_;
  std::unique_ptr<SignalPipe> signals_;
  SignalHandler signalHandler_;
  std::function<void()> pumpHook_;
  TimerId nextTimerId_ = 1;
  bool stopped_ = false;
  bool cancelRequested_ = false;
};

}  // namespace platform

namespace platform {

// True when standard input is a terminal: a person may type commands.
bool standardInputIsTerminal();
// True when standard output is a terminal: text may be redrawn in place.
bool standardOutputIsTerminal();
// True when standard error is a terminal: a person reads it, not a journal.
bool standardErrorIsTerminal();

}  // namespace platform
