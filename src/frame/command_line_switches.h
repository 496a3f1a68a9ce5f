#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace frame {

// The program's own switches. Each is matched as a whole argument, in either case, never
// inside another word, so a station path holding "-d" starts nothing.
struct CommandLineSwitches {
  bool openStation = false;  // -o: open the station named on the command line
  bool download = false;     // -d: download, log the result and exit
  bool clear = false;        // -c: run the console's clear items, log and exit
  bool plotFlag = false;     // -p: consulted by the plot views
  // The station named by the first argument when it does not start with '-'.
  std::optional<std::string> stationName;

  bool anyStationSwitch() const { return openStation || download || clear; }
  bool unattended() const { return download || clear; }
};

// True for "-o", "-O", "-d", "-D", "-c", "-C", "-p", "-P".
bool isProgramSwitch(std::string_view arg);

// Scans the arguments after the program name.
CommandLineSwitches parseCommandLineSwitches(const std::vector<std::string>& args);

// The directory a station name stands for: a name starting with '/' is a full path,
// any other is taken relative to `currentDirectory`.
std::string resolveStationName(std::string_view name, std::string_view currentDirectory);

}  // namespace frame
