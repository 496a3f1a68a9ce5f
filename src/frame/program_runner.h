#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "frame/control_service.h"
#include "platform/env.h"

namespace frame {

// The one reading of a program directory as a person names it: the process's current
// directory when `given` is empty, else `given` made absolute and normal.
std::string resolveProgramDirectory(const std::string& given);

// A real run of the program, as main and "stratalog run" start it.
struct RunOptions {
  platform::Env env;
  // The directory that is current at start; empty: the process's current directory.
  std::string programDirectory;
  // The program's own arguments: an optional station first, then -o, -d, -c, -p.
  std::vector<std::string> args;
  std::ostream* out = nullptr;
  std::ostream* err = nullptr;
  // Where every event-log line is also written: standard error when the program runs
  // without a terminal, so the service's journal holds the log; null: nowhere.
  std::ostream* journal = nullptr;
  // How the running program runs a command line a client sends over its control socket;
  // empty: it runs none (current conditions are still served).
  ClientCommandRunner commandRunner;
};

// Takes the program directory's instance lock (a second instance says so on `err` and
// gets exit code 1), builds the Program with the terminal or headless user interface,
// opens its control socket and runs it to its end. Returns the exit code.
int runProgram(const RunOptions& options);

class Program;
// For commands that work on a station outside the main loop (the console password):
// the same lock and parts as runProgram, then Program::startForCommand with
// `stationDir` (relative to the program directory unless it starts with '/'), then `op`,
// then the shutdown order. Returns op's exit code, or 1 when the start failed.
int runWithStation(const RunOptions& options, const std::string& stationDir,
                   const std::function<int(Program&)>& op);

}  // namespace frame
