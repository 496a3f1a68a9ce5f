#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>

#include "cli/cli.h"
#include "frame/password_admin.h"
#include "frame/program.h"
#include "frame/program_runner.h"
#include "frame/station_admin.h"
#include "platform/string_table.h"

namespace cli {

namespace {

std::string programDirOrCurrent(const std::string& dir) {
  if (!dir.empty()) return dir;
  std::error_code ec;
  std::string cwd = std::filesystem::current_path(ec).string();
  return ec ? std::string(".") : cwd;
}

void listCommand(CommandContext& ctx, const std::string& programDir) {
  std::string dir = programDirOrCurrent(programDir);
  auto services = frame::makeStationServices(ctx.env);
  auto stations = frame::listStationsIn(*services, *ctx.env.files, dir);
  if (!stations) {
    *ctx.err << "stratalog stations list: " << stations.status().message() << "\n";
    ctx.exitCode = kExitFailed;
    return;
  }
  auto choice = frame::readAutoDownload(*ctx.env.files, dir);
  std::vector<std::string> listed = choice ? choice->stationDirs : std::vector<std::string>{};
  if (stations->empty()) *ctx.out << "no stations below " << dir << "\n";
  for (const auto& s : *stations) {
    bool automatic = std::find(listed.begin(), listed.end(), s.directory) != listed.end();
    *ctx.out << s.name << "\t" << s.directory << (automatic ? "\tauto-download" : "") << "\n";
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
    *ctx.out << (clear ? "console password removed\n" : "console password set\n");
    return kExitOk;
  });
}

}  // namespace

void addStationsCommands(CLI::App& app, CommandContext& ctx) {
  struct Options {
    std::string programDir;
    std::string station;
  };
  auto o = std::make_shared<Options>();
  auto* stations = app.add_subcommand("stations", "List stations and guard their consoles");
  stations->require_subcommand(1);

  auto* list = stations->add_subcommand(
      "list", "List the stations below the program directory (name, directory, auto-download)");
  list->add_option("--program-dir", o->programDir, "program directory (default: current)");
  list->callback([&ctx, o] { listCommand(ctx, o->programDir); });

  auto* password = stations->add_subcommand(
      "password", "Set or clear the password that guards a Cirrant console's settings");
  password->require_subcommand(1);
  for (bool clear : {false, true}) {
    auto* sub = password->add_subcommand(
        clear ? "clear" : "set",
        clear ? "Remove the console password (the current one is asked first)"
              : "Set a new console password of 5 to 15 characters, typed twice");
    sub->add_option("station", o->station, "station directory")->required();
    sub->add_option("--program-dir", o->programDir, "program directory (default: current)");
    sub->callback([&ctx, o, clear] {
      ctx.exitCode = passwordCommand(ctx, o->programDir, o->station, clear);
    });
  }
}

}  // namespace cli
