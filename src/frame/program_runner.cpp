#include "frame/program_runner.h"

#include <filesystem>
#include <ostream>
#include <sstream>

#include "frame/messages.h"
#include "frame/program.h"
#include "frame/station_services.h"
#include "platform/instance_lock.h"
#include "platform/string_table.h"

namespace frame {

namespace {

constexpr int kMsgAnotherInstance = 64228;

// Builds the Program of a real run under the directory's lock and hands it to `body`.
int withProgram(const RunOptions& options, std::ostream* journal,
                const std::function<int(Program&)>& body) {
  std::string dir = resolveProgramDirectory(options.programDirectory);
  auto lock = platform::InstanceLock::acquire(dir);
  if (!lock) {
    if (options.err) {
      // Said once, in the person's language; the lock file's name adds nothing for them.
      if (lock.status().kind() == platform::Errc::kBusy) {
        *options.err << "stratalog: " << platform::loadString(kMsgAnotherInstance) << "\n";
      } else {
        *options.err << "stratalog: " << lock.status().message() << "\n";
      }
    }
    return kProgramExitFailed;
  }
  platform::Env env = options.env;
  try {
    std::unique_ptr<platform::UserInterface> ui =
        platform::makeUserInterface(*env.files, *env.clock);
    ProgramParts parts;
    parts.env = env;
    parts.ui = ui.get();
    parts.stations = makeStationServices(env);
    parts.programDirectory = dir;
    parts.interactive = platform::standardInputIsTerminal();
    parts.out = options.out;
    parts.journal = journal;
    Program program(std::move(parts));
    return body(program);
  } catch (const std::exception& e) {
    if (options.err) *options.err << "stratalog: " << e.what() << "\n";
    return kProgramExitFailed;
  }
}

}  // namespace

std::string resolveProgramDirectory(const std::string& given) {
  std::error_code ec;
  if (given.empty()) {
    std::filesystem::path p = std::filesystem::current_path(ec);
    return ec ? std::string(".") : p.string();
  }
  auto abs = std::filesystem::absolute(given, ec);
  return ec ? given : abs.lexically_normal().string();
}

int runProgram(const RunOptions& options) {
  const CommandLineSwitches switches = parseCommandLineSwitches(options.args);
  // A -d or -c run at a terminal keeps its log lines, and shows them on standard error
  // only when it fails, so the person sees why; without a terminal the journal has them.
  std::ostringstream runLines;
  const bool keepRunLines =
      options.journal == nullptr && options.err != nullptr && (switches.download || switches.clear);
  const int code = withProgram(options, keepRunLines ? &runLines : options.journal,
                               [&switches, &options](Program& program) {
                                 // A -d or -c run ends as soon as its work is done: a
                                 // client would only lose it half-way, so it serves none.
                                 ControlService control(program, options.commandRunner);
                                 if (!switches.unattended()) (void)control.open();
                                 return program.run(switches);
                               });
  if (keepRunLines && code != kProgramExitOk) *options.err << runLines.str() << std::flush;
  return code;
}

int runWithStation(const RunOptions& options, const std::string& stationDir,
                   const std::function<int(Program&)>& op) {
  return withProgram(options, options.journal, [&](Program& program) {
    std::string dir = stationDir.empty()
                          ? std::string()
                          : resolveStationName(stationDir, program.programDirectory());
    platform::Status s = program.startForCommand(dir);
    int code = kProgramExitFailed;
    if (s.isOk()) {
      code = op(program);
    } else if (options.err) {
      constexpr int kMsgCannotOpenStation = 65413;
      *options.err << "stratalog: "
                   << fillText(platform::loadString(kMsgCannotOpenStation), {dir, s.message()})
                   << "\n";
    }
    program.shutdown();
    return code;
  });
}

}  // namespace frame
