#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <ostream>
#include <sstream>

#include "cli/cli.h"
#include "frame/command_line_switches.h"
#include "frame/messages.h"
#include "frame/program_runner.h"
#include "frame/station_admin.h"
#include "platform/instance_lock.h"
#include "platform/string_table.h"
#include "station/schedule.h"
#include "station/station_file.h"

namespace cli {

namespace {

constexpr int kMsgNoHourChosen = 64216;

void showCommand(CommandContext& ctx, const std::string& programDir) {
  std::string dir = frame::resolveProgramDirectory(programDir);
  auto choice = frame::readAutoDownload(*ctx.env.files, dir);
  if (!choice) {
    *ctx.err << "stratalog schedule show: " << choice.status().message() << "\n";
    ctx.exitCode = kExitFailed;
    return;
  }
  const station::DownloadSchedule& s = choice->schedule;
  *ctx.out << "automatic download: " << (s.autoDownload ? "on" : "off") << "\n";
  *ctx.out << "minute past the hour: " << s.offsetMinutes << "\n";
  *ctx.out << "hours:";
  bool any = false;
  for (int h = 0; h < 24; ++h) {
    if (s.hours[static_cast<std::size_t>(h)]) {
      *ctx.out << " " << h;
      any = true;
    }
  }
  *ctx.out << (any ? "" : " none") << "\nstations:\n";
  for (const std::string& st : choice->stationDirs) *ctx.out << "  " << st << "\n";
  ctx.exitCode = kExitOk;
}

void setCommand(CommandContext& ctx, const std::string& programDir,
                const std::vector<std::string>& stations, const std::string& hoursText,
                const std::string& minuteText) {
  std::string dir = frame::resolveProgramDirectory(programDir);
  std::array<bool, 24> hours{};
  auto parsedHours = station::parseHourList(hoursText);
  if (parsedHours) hours = *parsedHours;
  if (!hoursText.empty() && !parsedHours) {
    *ctx.err << "stratalog schedule set: hours '" << hoursText
             << "' are not a list such as 7,19 or 6-18 or all\n";
    ctx.exitCode = kExitUsage;
    return;
  }
  auto minute = station::parseOffsetMinutes(minuteText);
  if (!minute) {
    *ctx.err << "stratalog schedule set: "
             << frame::fillText(platform::loadString(minute.status().code()), {minuteText}) << "\n";
    ctx.exitCode = kExitUsage;
    return;
  }
  std::vector<std::string> dirs;
  for (const std::string& s : stations) {
    std::string path = frame::resolveStationName(s, dir);
    if (!station::isStationDirectory(*ctx.env.files, path)) {
      *ctx.err << "stratalog schedule set: " << path << " holds no station (no STATION.CFG)\n";
      ctx.exitCode = kExitFailed;
      return;
    }
    dirs.push_back(path);
  }
  if (platform::Status rule = station::checkAutoDownloadChoice(dirs.size(), hours); !rule) {
    *ctx.err << "stratalog schedule set: " << platform::loadString(rule.code()) << "\n";
    ctx.exitCode = kExitFailed;
    return;
  }
  // A running program keeps its own copy of the settings and would write it back at exit.
  auto lock = platform::InstanceLock::acquire(dir);
  if (!lock) {
    *ctx.err << "stratalog schedule set: " << lock.status().message()
             << "; stop the running program first\n";
    ctx.exitCode = kExitFailed;
    return;
  }
  platform::Status s = frame::saveAutoDownloadIn(*ctx.env.files, dir, dirs, hours, *minute);
  if (!s.isOk()) {
    std::string text = s.code() == frame::kMsgDownloadListUnwritable
                           ? platform::loadString(s.code()) + " (" + s.message() + ")"
                           : s.message();
    *ctx.err << "stratalog schedule set: " << text << "\n";
    ctx.exitCode = kExitFailed;
    return;
  }
  if (!dirs.empty() && station::noHourChosen(hours)) {
    *ctx.err << "stratalog schedule set: " << platform::loadString(kMsgNoHourChosen)
             << " (saved with automatic download off)\n";
  }
  showCommand(ctx, dir);
}

}  // namespace

void addScheduleCommands(CLI::App& app, CommandContext& ctx) {
  struct Options {
    std::string programDir;
    std::vector<std::string> stations;
    std::string hours;
    std::string minute = "5";
  };
  auto o = std::make_shared<Options>();
  auto* schedule = app.add_subcommand("schedule", "The automatic download: its stations and hours");
  schedule->require_subcommand(1);

  auto* show = schedule->add_subcommand("show", "Show the stations, hours and minute");
  show->add_option("--program-dir", o->programDir, "program directory (default: current)");
  show->callback([&ctx, o] { showCommand(ctx, o->programDir); });

  auto* set = schedule->add_subcommand(
      "set", "Choose the stations downloaded automatically and the hours of the day");
  set->add_option("stations", o->stations,
                  "station directories, in download order (none: no automatic download)");
  set->add_option("--hours", o->hours, "hours of the day: 7,19 or 6-18 or all (none: off)");
  set->add_option("--minute", o->minute, "minutes past the hour, 0-59 (default 5)");
  set->add_option("--program-dir", o->programDir, "program directory (default: current)");
  set->callback([&ctx, o] { setCommand(ctx, o->programDir, o->stations, o->hours, o->minute); });
}

}  // namespace cli
