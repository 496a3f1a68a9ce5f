#include "frame/command_line_switches.h"

#include "platform/file_system.h"

namespace frame {

bool isProgramSwitch(std::string_view arg) {
  if (arg.size() != 2 || arg[0] != '-') return false;
  switch (arg[1]) {
    case 'o':
    case 'O':
    case 'd':
    case 'D':
    case 'c':
    case 'C':
    case 'p':
    case 'P':
      return true;
    default:
      return false;
  }
}

CommandLineSwitches parseCommandLineSwitches(const std::vector<std::string>& args) {
  CommandLineSwitches s;
  for (const std::string& a : args) {
    if (!isProgramSwitch(a)) continue;
    switch (a[1]) {
      case 'o':
      case 'O':
        s.openStation = true;
        break;
      case 'd':
      case 'D':
        s.download = true;
        break;
      case 'c':
      case 'C':
        s.clear = true;
        break;
      default:
        s.plotFlag = true;
        break;
    }
  }
  // The station is the first word, unless the command line starts with a switch.
  if (!args.empty() && !args.front().empty() && args.front().front() != '-') {
    s.stationName = args.front();
  }
  return s;
}

std::string resolveStationName(std::string_view name, std::string_view currentDirectory) {
  if (!name.empty() && name.front() == '/') return std::string(name);
  return platform::joinPath(currentDirectory, name);
}

}  // namespace frame
