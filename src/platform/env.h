#pragma once

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/serial_port.h"

namespace platform {

// The operating-system facilities a piece of the program may use, handed down
// explicitly. Every member is non-null; the defaults are the real ones, tests put
// fakes in their place.
struct Env {
  FileSystem* files = &defaultFileSystem();
  Clock* clock = &systemClock();
  SerialPortOpener* serialPorts = &defaultSerialPortOpener();
};

}  // namespace platform
