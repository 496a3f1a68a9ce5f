#pragma once

#include <ostream>
#include <string_view>

namespace frame {

class Program;

// The menu commands of a person at a terminal, typed on standard input one per line:
// download, bulletin, stations, open, new, delete, schedule, help and quit (Spanish
// names are accepted too). The end of the input is taken as quit.
void startInteractiveShell(Program& program);

// Runs one typed command line; `out` receives the answers. Returns false for an unknown
// command.
bool runShellCommand(Program& program, std::string_view line, std::ostream& out);

}  // namespace frame
