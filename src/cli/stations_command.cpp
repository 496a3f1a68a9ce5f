#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <ostream>

#include "cli/cli.h"
#include "frame/messages.h"
#include "frame/password_admin.h"
#include "frame/program.h"
#include "frame/program_runner.h"
#include "frame/station_admin.h"
#include "platform/string_table.h"

namespace cli {

namespace {

constexpr int kHelpStations = 64770;
constexpr int kHelpList = 64771;
constexpr int kHelpPassword = 64772;
constexpr int kHelpClear = 64773;
constexpr int kHelpSet = 64774;
constexpr int kMsgNoStations = 64775;
constexpr int kMsgAutoDownload = 64776;
constexpr int kMsgPasswordSet = 64777;
constexpr int kMsgPasswordCleared = 64778;

void listCommand(CommandContext& ctx, const std::string& programDir) {
  const std::string dir = programDirectory(programDir);
  auto services = frame::makeStationServices(commandEnv(ctx, programDir));
  auto stations = frame::listStationsIn(*services, *ctx.env.files, dir);
  if (!stations) {
    *ctx.err << "stratalog stations list: " << stations.status().message() << "\n";
    ctx.exitCode = kExitFailed;
    return;
  }
  auto choice = frame::readAutoDownload(*ctx.env.files, dir);
  std::vector<std::string> listed = choice ? choice->stationDirs : std::vector<std::string>{};
  if (stations->empty()) {
    *ctx.out << frame::fillText(platform::loadString(kMsgNoStations), {dir}) << "\n";
  }
  const std::string automatic = platform::loadString(kMsgAutoDownload);
  for (const auto& s : *stations) {
    const bool listedForDownload =
        std::find(listed.begin(), listed.end(), s.directory) != listed.end();
    *ctx.out << s.name << "\t" << s.directory << (listedForDownload ? "\t" + automatic : "")
             << "\n";
  }
  ctx.exitCode = kExitOk;
}

int passwordCommand(CommandContext& ctx, const std::string& programDir, const std::string& station,
                    bool clear) {
  return frame::runWithStation(runOptions(ctx, programDir), station, [&](frame::Program& program) {
    std::string entered;
    if (!clear) {
      // Typed without echo; the length is checked before it is asked again.
      auto typed = frame::enterNewConsolePassword(program.ui());
      if (!typed) {
        *ctx.err << "stratalog stations password: " << platform::loadString(typed.status().code())
                 << "\n";
        return kExitFailed;
      }
      entered = *typed;
    }
    platform::Status s = frame::changeConsolePassword(program, clear, entered, entered, {});
    if (!s.isOk()) {
      std::string text = platform::loadString(s.code());
      *ctx.err << "stratalog stations password: "
               << (s.code() > 0 && !platform::stringText(s.code()).empty() ? text : s.message())
               << "\n";
      return kExitFailed;
    }
    *ctx.out << platform::loadString(clear ? kMsgPasswordCleared : kMsgPasswordSet) << "\n";
    return kExitOk;
  });
}

}  // namespace

void addStationsCommands(CLI::App& app, CommandContext& ctx) {
  auto o = std::make_shared<StationChoice>();
  auto* stations = app.add_subcommand("stations", helpText(kHelpStations));
  stations->require_subcommand(1);

  auto* list = stations->add_subcommand("list", helpText(kHelpList));
  addProgramDirOption(list, o->programDir);
  list->callback([&ctx, o] { listCommand(ctx, o->programDir); });

  auto* password = stations->add_subcommand("password", helpText(kHelpPassword));
  password->require_subcommand(1);
  for (bool clear : {false, true}) {
    auto* sub =
        password->add_subcommand(clear ? "clear" : "set", helpText(clear ? kHelpClear : kHelpSet));
    addStationOptions(sub, *o);
    sub->callback([&ctx, o, clear] {
      if (!resolveStation(ctx, *o)) return;
      ctx.exitCode = passwordCommand(ctx, o->programDir, o->station, clear);
    });
  }
}

}  // namespace cli
