#pragma once

// Turning the stratalog-sim command line into engine options.

#include <cstdint>
#include <string>
#include <vector>

#include "consolesim/console_engine.h"
#include "platform/status.h"

namespace consolesim {

// The command line as written, before checking.
struct SimArguments {
  std::uint64_t seed = 1;
  std::string model = "plus";  // "plus" (solar and UV sensors) or "pro"
  int modelCode = 16;
  int intervalMinutes = 5;
  int historyDays = 2;
  std::string firmware = "2002-04-24";
  std::string start;  // "YYYY-MM-DD HH:MM"; empty: the local time now
  bool pace = false;
  std::uint32_t baudRate = 19200;
  int loopPeriodMs = 2000;
  int disconnectSeconds = 30;
  std::vector<std::string> faults;
};

// Checks every argument and builds the engine's options; the error names the option.
platform::Result<EngineOptions> toEngineOptions(const SimArguments& args);

platform::Result<platform::CivilTime> parseStartTime(const std::string& text);
platform::Result<FirmwareDate> parseFirmwareDate(const std::string& text);

}  // namespace consolesim
