#pragma once

#include <optional>
#include <string>

#include "frame/command_line_switches.h"

namespace frame {

class Program;

// At start-up: the directory of the station to open.
//   With "-o", "-d" or "-c": the station named on the command line, else the last
//   station when it still holds a configuration, else the only station below the
//   program directory; an empty string when none results.
//   Without: the last station, else the only one; with none the user is asked whether
//   to create one (and it is created and opened); with several the user chooses.
// nullopt when nothing is to be opened.
std::optional<std::string> chooseStationAtStart(Program& program,
                                                const CommandLineSwitches& switches);

}  // namespace frame
