#include "platform/systemd_notify.h"

#include <systemd/sd-daemon.h>

#include <cstdint>
#include <string>

namespace platform {

void ServiceNotifier::ready() { sd_notify(0, "READY=1"); }

void ServiceNotifier::stopping() { sd_notify(0, "STOPPING=1"); }

void ServiceNotifier::status(std::string_view text) {
  std::string msg = "STATUS=";
  for (char c : text) msg.push_back(c == '\n' ? ' ' : c);
  sd_notify(0, msg.c_str());
}

void ServiceNotifier::watchdog() { sd_notify(0, "WATCHDOG=1"); }

std::optional<std::chrono::milliseconds> ServiceNotifier::watchdogPeriod() const {
  std::uint64_t usec = 0;
  if (sd_watchdog_enabled(0, &usec) <= 0 || usec == 0) return std::nullopt;
  return std::chrono::milliseconds(usec / 2000);
}

}  // namespace platform
