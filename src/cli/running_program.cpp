// Commands beside a running program: the program holds the settings files and the
// console's port, so the commands that change the one or need the other ask it over its
// control socket instead of working on the files behind its back.
#include <filesystem>
#include <ostream>

#include "cli/cli.h"
#include "frame/control_service.h"
#include "frame/messages.h"
#include "frame/program.h"
#include "link/realtime_manager.h"
#include "platform/control_socket.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"
#include "platform/string_table.h"

namespace cli {

namespace {

constexpr int kMsgConnectionLost = 66309;
constexpr int kMsgOtherStation = 66308;
constexpr int kMsgNoPermission = 66312;

// Long enough for a download over a slow line between two progress lines.
constexpr std::chrono::milliseconds kAnswerTimeout{10 * 60 * 1000};
constexpr const char* kRedraw = "\033[H\033[2J";

// The running program's socket: empty when none answers there. A socket this user may not
// use belongs to a program that runs all the same: that is said, and `refused` set.
std::optional<platform::ControlClient> connectTo(CommandContext& ctx, const std::string& programDir,
                                                 bool& refused) {
  const std::string path =
      platform::joinPath(programDirectory(programDir), platform::kControlSocketFileName);
  auto client = platform::ControlClient::connect(path);
  if (client) return std::move(*client);
  if (client.status().kind() == platform::Errc::kPermission) {
    *ctx.err << "stratalog: " << frame::fillText(platform::loadString(kMsgNoPermission), {path})
             << "\n";
    refused = true;
  }
  return std::nullopt;
}

bool isPathOption(const std::string& name) {
  return name == "--program-dir" || name == "--station" || name == "--parent";
}

// The running program's current directory is not this one: the paths of the line are
// made absolute here, and the program directory is always named.
std::vector<std::string> linePaths(const std::vector<std::string>& args,
                                   const std::string& programDir) {
  std::vector<std::string> line;
  bool programDirNamed = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string word = args[i];
    std::string name = word.substr(0, word.find('='));
    std::optional<std::string> value;
    if (isPathOption(name) && word.size() > name.size()) {
      value = word.substr(name.size() + 1);
    } else if (isPathOption(word) && i + 1 < args.size()) {
      line.push_back(word);
      value = args[++i];
    } else {
      line.push_back(word);
      continue;
    }
    std::error_code ec;
    if (name == "--program-dir") {
      programDirNamed = true;
      *value = programDirectory(*value);
    } else if (!value->empty() && value->front() != '/' && std::filesystem::exists(*value, ec)) {
      *value = std::filesystem::absolute(*value, ec).lexically_normal().string();
    }
    line.push_back(word.size() > name.size() && word != name ? name + "=" + *value : *value);
  }
  if (!programDirNamed) {
    line.push_back("--program-dir");
    line.push_back(programDirectory(programDir));
  }
  return line;
}

// Prints the answers until the last one; returns its exit code.
int printAnswers(CommandContext& ctx, platform::ControlClient& client, bool redraw) {
  int readings = 0;
  for (;;) {
    auto answer = client.receive(kAnswerTimeout);
    if (!answer) {
      *ctx.err << "stratalog: " << platform::loadString(kMsgConnectionLost) << "\n";
      return kExitFailed;
    }
    const nlohmann::json& a = *answer;
    if (!a.is_object()) continue;
    if (a.contains(frame::control::kOut) && a[frame::control::kOut].is_string()) {
      *ctx.out << a[frame::control::kOut].get<std::string>() << std::flush;
    }
    if (a.contains(frame::control::kErr) && a[frame::control::kErr].is_string()) {
      *ctx.err << a[frame::control::kErr].get<std::string>() << std::flush;
    }
    if (a.contains(frame::control::kReading) && a[frame::control::kReading].is_string()) {
      if (redraw) {
        *ctx.out << kRedraw;
      } else if (readings++ > 0) {
        *ctx.out << "\n";
      }
      *ctx.out << a[frame::control::kReading].get<std::string>() << std::flush;
      // The reader of a pipe went away: the request ends with the client.
      if (!ctx.out->good()) return kExitOk;
    }
    if (a.contains(frame::control::kExit) && a[frame::control::kExit].is_number_integer()) {
      return a[frame::control::kExit].get<int>();
    }
  }
}

}  // namespace

bool personWatches(const CommandContext& ctx) {
  return ctx.host != nullptr ? ctx.clientTerminal : platform::standardInputIsTerminal();
}

std::optional<int> runInRunningProgram(CommandContext& ctx, const std::string& programDir,
                                       const std::string& input) {
  if (ctx.host != nullptr) return std::nullopt;
  bool refused = false;
  auto client = connectTo(ctx, programDir, refused);
  if (!client) return refused ? std::optional<int>(kExitFailed) : std::nullopt;
  nlohmann::json request{{frame::control::kRequest, frame::control::kCommand},
                         {"args", linePaths(ctx.args, programDir)},
                         {"input", input},
                         {"terminal", platform::standardInputIsTerminal()}};
  if (!client->send(request).isOk()) return std::nullopt;
  return printAnswers(ctx, *client, false);
}

std::optional<int> currentFromRunningProgram(CommandContext& ctx, const std::string& programDir,
                                             const std::string& station, bool follow) {
  if (ctx.host != nullptr) return std::nullopt;
  bool refused = false;
  auto client = connectTo(ctx, programDir, refused);
  if (!client) return refused ? std::optional<int>(kExitFailed) : std::nullopt;
  nlohmann::json request{{frame::control::kRequest, frame::control::kCurrent},
                         {"follow", follow},
                         {"station", station}};
  if (!client->send(request).isOk()) return std::nullopt;
  const int code = printAnswers(ctx, *client, follow && platform::standardOutputIsTerminal());
  // One reading ends without a line end, as the command prints it on its own.
  return code;
}

frame::ClientCommandRunner clientCommandRunner(const CommandContext& ctx) {
  platform::Env env = ctx.env;
  std::ostream* journal = ctx.journal;
  return [env, journal](frame::Program& program, const frame::ClientCommand& command,
                        std::ostream& out, std::ostream& err) {
    CommandContext sub{env, &out, &err, journal};
    sub.host = &program;
    sub.clientTerminal = command.terminal;
    return runCommandLine(command.args, sub);
  };
}

int withStationProgram(CommandContext& ctx, const std::string& programDir,
                       const std::string& station, const std::function<int(frame::Program&)>& op) {
  if (ctx.host == nullptr) return frame::runWithStation(runOptions(ctx, programDir), station, op);
  frame::Program& program = *ctx.host;
  if (!station.empty() && !frame::sameDirectory(station, program.currentStationDir())) {
    *ctx.err << "stratalog: "
             << frame::fillText(platform::loadString(kMsgOtherStation),
                                {program.currentStationName()})
             << "\n";
    return kExitFailed;
  }
  return op(program);
}

void runConsoleCommand(CommandContext& ctx, StationChoice& choice,
                       const std::function<int(frame::Program&)>& op) {
  if (auto code = runInRunningProgram(ctx, choice.programDir)) {
    ctx.exitCode = *code;
    return;
  }
  if (!resolveStation(ctx, choice)) return;
  if (ctx.host == nullptr) {
    ctx.exitCode = withStationProgram(ctx, choice.programDir, choice.station, op);
    return;
  }
  frame::SchedulingPause scheduling(ctx.host->scheduler());
  stationlink::RealtimePause readings(&ctx.host->realtime());
  ctx.exitCode = withStationProgram(ctx, choice.programDir, choice.station, op);
}

}  // namespace cli
