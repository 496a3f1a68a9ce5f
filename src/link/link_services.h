#pragma once

#include <functional>
#include <string_view>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "platform/status.h"

namespace stationlink {

class ConsoleLink;

// Writes one line to the event log under `source` (the link's label).
using LinkErrorReporter = std::function<void(std::string_view source, std::string_view line)>;

// What a link needs from the rest of the program, handed down by the SerialPortManager.
struct LinkServices {
  platform::SerialPortOpener* opener = &platform::defaultSerialPortOpener();
  platform::Clock* clock = &platform::systemClock();
  // Called once per turn of every wait and before every byte read, so that the program can
  // service signals and cancellation while the link waits. Must not use the link.
  std::function<void()> pump;
  // The event log. Without one, link errors are recorded in the link only.
  LinkErrorReporter reportLine;
  // Dials the console's modem for a link with the modem flag (set when a modem dialler is
  // available). Without one, such a link cannot be opened.
  std::function<platform::Status(ConsoleLink&)> dial;
  // Sets the program's own calibration offsets of the station to zero and saves the station's
  // configuration (used after the console's calibration is cleared).
  std::function<platform::Status()> clearProgramOffsets;
};

// A failed Status carrying link error code `code`, of the kind that code stands for.
platform::Status linkFailure(int code, std::string message);

}  // namespace stationlink
