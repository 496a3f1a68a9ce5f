#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <ostream>
#include <sstream>

#include "frame/command_line_switches.h"
#include "cli/cli.h"
#include "frame/messages.h"
#include "frame/station_admin.h"
#include "platform/instance_lock.h"
#include "platform/string_table.h"
#include "station/schedule.h"
#include "station/station_file.h"

namespace commands {

namespace {

constexpr int kMsgSelectStationsFirst = 64215;
constexpr int kMsgNoHourChosen = 64216;

std::string programDirOrCurrent(const std::string& dir) {
  std::error_code ec;
  if (dir.empty()) {
    std::string cwd = std::filesystem::current_path(ec).string();
    return ec ? std::string(".") : cwd;
  }
  auto abs = std::filesystem::absolute(dir, ec);
  return ec ? dir : abs.lexically_normal().string();
}

// "7,19", "0-23" or "all" to 24 flags; false on anything else.
bool parseHours(const std::string& text, std::array<bool, 24>& hours) {
  hours.fill(false);
  if (text == "all") {
    hours.fill(true);
    return true;
  }
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    int from = 0, to = 0;
    char dash = 0;
    std::stringstream one(item);
    if (!(one >> from)) return false;
    to = from;
    if (one >> dash) {
      if (dash != '-' || !(one >> to)) return false;
    }
    std::string extra;
    if (one >> extra) return false;
    if (from < 0 || to > 23 || from > to) return false;
    for (int h = from; h <= to; ++h) hours[static_cast<std::size_t>(h)] = true;
  }
  return true;
}

void showCommand(CommandContext& ctx, const std::string& programDir) {
  std::string dir = programDirOrCurrent(programDir);
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
  std::string dir = programDirOrCurrent(programDir);
  std::array<bool, 24> hours{};
  if (!hoursText.empty() && !parseHours(hoursText, hours)) {
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
  if (dirs.empty() && !station::noHourChosen(hours)) {
    *ctx.err << "stratalog schedule set: " << platform::loadString(kMsgSelectStationsFirst) << "\n";
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

}  // namespace commands
