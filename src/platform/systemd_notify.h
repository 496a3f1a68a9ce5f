#pragma once

#include <chrono>
#include <optional>
#include <string_view>

namespace platform {

// Tells the service manager how the program is doing. Outside a service (no
// NOTIFY_SOCKET) every call does nothing.
class ServiceNotifier {
 public:
  // Start-up is over and the main loop runs.
  void ready();
  // The shutdown order has begun.
  void stopping();
  // A short status text for "systemctl status".
  void status(std::string_view text);
  // Feeds the watchdog.
  void watchdog();
  // How often to feed the watchdog (half the manager's time-out), or nullopt when no
  // watchdog is armed for this process.
  std::optional<std::chrono::milliseconds> watchdogPeriod() const;
};

}  // namespace platform
