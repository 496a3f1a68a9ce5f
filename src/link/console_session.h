#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "link/cirrant_link.h"
#include "platform/clock.h"

namespace stationlink {

// A console named by a person: a port number ("3") or a device path, and its speed.
struct ConsoleTarget {
  std::string port;
  std::uint32_t baudRate = 19200;
};

// A Cirrant link for one command from the command line (closed, opened by the command).
// Bad arguments (no port, a speed the console does not use) are refused.
platform::Result<std::unique_ptr<CirrantLink>> makeCommandLink(const ConsoleTarget& target,
                                                               const LinkServices& services);

// Archive interval in minutes -> SetArchiveInterval's code (nothing for other values).
std::optional<int> archiveIntervalCode(int minutes);

// "YYYY-MM-DD HH:MM" (a 'T' may stand for the blank) as a console time.
platform::Result<ConsoleTime> parseConsoleTime(std::string_view text);
ConsoleTime consoleTimeFrom(const platform::CivilTime& local);

}  // namespace stationlink
