#pragma once

#include <ostream>
#include <string_view>

namespace frame {

class Program;

// The menu commands of a person at a terminal, typed on standard input one per line:
// download, bulletin, stations, open, new, delete, schedule, help and quit (Spanish
// names are accepted too). The end of the input is taken as quit.
void startInteractiveShell(Program& program);

// The greeting and the first prompt ("stratalog> ").
void greetShell(std::ostream& out);
// One line typed at the prompt (or, with `eof`, the end of the input): the command runs
// and the prompt is shown again, unless the command ended the program.
void answerShellLine(Program& program, std::string_view line, bool eof, std::ostream& out);

// Runs one typed command line; `out` receives the answers. Returns false for an unknown
// command.
bool runShellCommand(Program& program, std::string_view line, std::ostream& out);

}  // namespace frame
