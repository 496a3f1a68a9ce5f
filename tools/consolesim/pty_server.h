#pragma once

// The pseudo-terminal front: moves bytes between a PseudoTerminal's master side and a
// ConsoleEngine, on a real clock.

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "consolesim/console_engine.h"
#include "platform/clock.h"
#include "platform/pseudo_terminal.h"
#include "platform/status.h"

namespace consolesim {

class PtyServer {
 public:
  // All three must outlive the server; `clock` is the engine's clock.
  PtyServer(ConsoleEngine& engine, platform::PseudoTerminal& pty, const platform::Clock& clock)
      : engine_(engine), pty_(pty), clock_(clock) {}

  // One turn: waits at most `maxWait` (less when a reply byte falls due sooner) for bytes
  // from the program, hands them to the engine and writes the replies that are due.
  platform::Status runOnce(std::chrono::milliseconds maxWait);
  // Serves until `stopRequested` answers true; it is asked at least every 100 ms, so a
  // stop request (a signal handler's flag) is seen promptly.
  platform::Status run(const std::function<bool()>& stopRequested);

 private:
  platform::Status flushOutput();

  ConsoleEngine& engine_;
  platform::PseudoTerminal& pty_;
  const platform::Clock& clock_;
  std::vector<std::uint8_t> unsent_;
};

}  // namespace consolesim
