#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/program_runner.h"
#include "platform/env.h"
#include "platform/status.h"
#include "quantities/date_text.h"
#include "quantities/user_conventions.h"
#include "reports/year_month.h"

namespace CLI {
class App;
}

namespace cli {

// What a subcommand needs: the platform, where to write, and the exit code to return.
struct CommandContext {
  platform::Env env;
  std::ostream* out;
  std::ostream* err;
  // Where a program's event-log lines are also written (frame::RunOptions::journal).
  std::ostream* journal = nullptr;
  int exitCode = 0;
  // Where secrets are read from (standard input when null).
  std::istream* in = nullptr;
  // The command line as given, for handing it to a running program.
  std::vector<std::string> args = {};
  // The running program a client's command runs in: the command works on what that
  // program holds and never asks it over the socket. Null for a command on its own.
  frame::Program* host = nullptr;
  // For a client's command: whether the client's standard input is a terminal.
  bool clientTerminal = false;
};

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Parses argv and runs the chosen command. Returns the exit code.
int runCommandLine(const std::vector<std::string>& args, CommandContext& ctx);

// Each command that runs something ("db info", "station set"), with its CLI11 definition:
// for checks that hold for every command.
void forEachCommand(const std::function<void(const std::string& path, const CLI::App&)>& visit);

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
void addReportCommands(CLI::App& app, CommandContext& ctx);
void addFuelCommands(CLI::App& app, CommandContext& ctx);
void addExportCommands(CLI::App& app, CommandContext& ctx);
void addTemplateCommands(CLI::App& app, CommandContext& ctx);
void addAprsCommands(CLI::App& app, CommandContext& ctx);
void addWuCommands(CLI::App& app, CommandContext& ctx);
void addInetCommands(CLI::App& app, CommandContext& ctx);
void addProfileCommands(CLI::App& app, CommandContext& ctx);
void addUploadCommands(CLI::App& app, CommandContext& ctx);
void addImagesCommands(CLI::App& app, CommandContext& ctx);
// `stratalog profile images`, registered by the profile group.
void addProfileImagesCommand(CLI::App& profileGroup, CommandContext& ctx);

// --- A program running in the program directory ---

// When a program runs in `programDir` and answers on its control socket, hands it this
// command line (with `input`, what the command read from standard input), prints what it
// answers as the command itself would and returns its exit code. Nullopt when no program
// answers there, or when the command already runs in one: the command then does the work.
std::optional<int> runInRunningProgram(CommandContext& ctx, const std::string& programDir,
                                       const std::string& input = {});
// The current conditions of the station the running program has open (`station`, when
// named, must be that one): one reading, or each reading until the person stops.
std::optional<int> currentFromRunningProgram(CommandContext& ctx, const std::string& programDir,
                                             const std::string& station, bool follow);
// How `stratalog run` runs a client's command line: in the running program, as here.
frame::ClientCommandRunner clientCommandRunner(const CommandContext& ctx);
// Runs `op` on the station: in the running program a client's command runs in (the
// station it has open), else as frame::runWithStation does.
int withStationProgram(CommandContext& ctx, const std::string& programDir,
                       const std::string& station, const std::function<int(frame::Program&)>& op);
struct StationChoice;
// Runs a command that talks to the console (an upload, a report sent now) and sets its exit
// code: a program running in the program directory runs it, with its real-time readings
// and its schedule waiting meanwhile, and this prints its answers; else `op` runs on the
// chosen station here.
void runConsoleCommand(CommandContext& ctx, StationChoice& choice,
                       const std::function<int(frame::Program&)>& op);
// Whether a person watches the command's progress: the client's terminal for a client's
// command, else this process's standard input.
bool personWatches(const CommandContext& ctx);

// The platform of a command working in `programDir`: the real serial ports' numbers are
// looked up in that directory's comports.txt, not in the current directory's.
platform::Env commandEnv(const CommandContext& ctx, const std::string& programDir);

// The options of a run in `programDir` (made absolute; the current directory when empty)
// writing to the command's streams.
frame::RunOptions runOptions(const CommandContext& ctx, const std::string& programDir);

// Runs the program itself with its own arguments (a station, then -o, -d, -c, -p) in
// `programDir` (the current directory when empty). Returns the exit code.
int runProgramCommand(const std::vector<std::string>& programArgs, const std::string& programDir,
                      CommandContext& ctx);

// The station a command works on, as the person named it, and the program directory it
// belongs to (empty: the current directory).
struct StationChoice {
  std::string station;
  std::string programDir;
};

// --program-dir: every command has it.
void addProgramDirOption(CLI::App* command, std::string& programDir);
// --station and --program-dir, as resolveStation reads them.
void addStationOptions(CLI::App* command, StationChoice& choice);

// Resolves the station a person named (a directory, or a name in the station list; left out,
// the only or the last station) in place. On failure prints why with the stations there are
// and sets the usage exit code; false then.
bool resolveStation(CommandContext& ctx, StationChoice& choice);
// The same for a command that reads or mends records: a directory named by its path that
// holds month files is taken even when its STATION.CFG is missing or damaged, so the records
// of such a station can still be looked at and mended.
bool resolveDataStation(CommandContext& ctx, StationChoice& choice);

// The program directory of a command, made absolute.
std::string programDirectory(const std::string& programDir);

// The units and date and time conventions (intl.ini) of the program directory.
quantities::UserConventions userConventions(const CommandContext& ctx,
                                            const std::string& programDir);

// A date option, ISO (2006-07-15) or in the user's own form (15/07/06). Empty when it is
// not a date; the reason is printed and the usage exit code set.
std::optional<quantities::Date> dateArgument(CommandContext& ctx,
                                             const quantities::UserConventions& conventions,
                                             const std::string& option, const std::string& text);

// A whole number written in decimal digits only (no sign, no blanks), at most nine of them.
std::optional<int> digitsArgument(std::string_view text);

// A month ("2006-07") or a year ("2006") given on the command line, read strictly: four
// digits of year, two of month. Empty when the text is neither.
std::optional<reports::YearMonth> monthArgument(std::string_view text);
std::optional<int> yearArgument(std::string_view text);

// Prints a usage error under the command's name and sets the usage exit code.
void usageError(CommandContext& ctx, const std::string& command, const std::string& message);
// Prints `message` under the command's name and returns `exitCode`, for a command that
// returns its code.
int commandFailure(CommandContext& ctx, const std::string& command, const std::string& message,
                   int exitCode);

// Prints a failed status under the command's name and answers its exit code: usage for a
// bad argument, failure otherwise.
int reportFailure(CommandContext& ctx, const std::string& command, const platform::Status& s);

// A help text of the string table (help texts are Spanish, like everything people read).
std::string helpText(int id);

}  // namespace cli
