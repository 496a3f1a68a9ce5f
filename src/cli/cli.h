#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "frame/program_runner.h"
#include "platform/env.h"

namespace CLI {
class App;
}

namespace cli {

// What a subcommand needs: the platform, where to write, and the exit code to return.
struct CommandContext {
  platform::Env env;
  std::ostream* out;
  std::ostream* err;
  int exitCode = 0;
};

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Parses argv and runs the chosen command. Returns the exit code.
int runCommandLine(const std::vector<std::string>& args, CommandContext& ctx);

// Each group of subcommands registers itself here (one function per file).
void addDbCommands(CLI::App& app, CommandContext& ctx);
void addLogCommands(CLI::App& app, CommandContext& ctx);
void addConsoleCommands(CLI::App& app, CommandContext& ctx);
void addRunCommands(CLI::App& app, CommandContext& ctx);
void addStationsCommands(CLI::App& app, CommandContext& ctx);
void addScheduleCommands(CLI::App& app, CommandContext& ctx);
void addSummaryCommands(CLI::App& app, CommandContext& ctx);
void addStationCommands(CLI::App& app, CommandContext& ctx);
void addDownloadCommands(CLI::App& app, CommandContext& ctx);
void addCurrentCommands(CLI::App& app, CommandContext& ctx);

// The options of a run in `programDir` (made absolute; the current directory when empty)
// writing to the command's streams.
frame::RunOptions runOptions(const CommandContext& ctx, const std::string& programDir);

// Runs the program itself with its own arguments (a station, then -o, -d, -c, -p) in
// `programDir` (the current directory when empty). Returns the exit code.
int runProgramCommand(const std::vector<std::string>& programArgs, const std::string& programDir,
                      CommandContext& ctx);

// The --station option of a command that takes one station, as resolveStation reads it.
void addStationOption(CLI::App* command, std::string& station);

// Resolves the station a person named (a directory, or a name in the station list; left out,
// the only or the last station) in place. On failure prints why with the stations there are
// and sets the usage exit code; false then.
bool resolveStation(CommandContext& ctx, const std::string& programDir, std::string& station);

}  // namespace cli
