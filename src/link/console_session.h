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

// The parameters of a Cirrant link for one command from the command line, for the port
// manager to create. Bad arguments (no port, a speed the console does not use) are refused.
platform::Result<PortParams> commandLinkParams(const ConsoleTarget& target);

// Archive interval in minutes -> SetArchiveInterval's code (nothing for other values).
std::optional<int> archiveIntervalCode(int minutes);

// "YYYY-MM-DD HH:MM" (a 'T' may stand for the blank) as a console time.
platform::Result<ConsoleTime> parseConsoleTime(std::string_view text);
ConsoleTime consoleTimeFrom(const platform::CivilTime& local);

}  // namespace stationlink
