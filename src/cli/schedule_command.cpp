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

// The message of a failed operation, with the detail of the file that failed.
std::string failureText(const platform::Status& s) {
  if (s.code() == 0) return s.message();
  std::string text = platform::loadString(s.code());
  if (s.kind() != platform::Errc::kBadArgument) text += " (" + s.message() + ")";
  return text;
}

void showCommand(CommandContext& ctx, const std::string& programDir) {
  std::string dir = frame::resolveProgramDirectory(programDir);
  auto choice = frame::readAutoDownload(*ctx.env.files, dir);
  if (!choice) {
    *ctx.err << "stratalog schedule show: " << failureText(choice.status()) << "\n";
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

struct SetOptions {
  std::string programDir;
  std::vector<std::string> stations;
  bool noStations = false;
  std::string hours;
  std::string minute;
  bool hoursGiven = false;
  bool minuteGiven = false;
};

int fail(CommandContext& ctx, int exitCode, const std::string& text) {
  *ctx.err << "stratalog schedule set: " << text << "\n";
  return exitCode;
}

int setCommand(CommandContext& ctx, const SetOptions& o) {
  constexpr int kMsgBadHours = 64245;
  constexpr int kMsgNoStationAt = 61732;
  constexpr int kMsgProgramDirBusy = 64228;
  constexpr int kMsgSelectStationsFirst = 64215;

  std::string dir = frame::resolveProgramDirectory(o.programDir);
  frame::AutoDownloadChange change;
  if (o.hoursGiven) {
    change.hours = station::parseHourList(o.hours);
    if (!change.hours) {
      return fail(ctx, kExitUsage, frame::fillText(platform::loadString(kMsgBadHours), {o.hours}));
    }
  }
  if (o.minuteGiven) {
    auto minute = station::parseOffsetMinutes(o.minute);
    if (!minute) {
      return fail(ctx, kExitUsage,
                  frame::fillText(platform::loadString(minute.status().code()), {o.minute}));
    }
    change.offsetMinutes = *minute;
  }
  if (o.noStations || !o.stations.empty()) {
    change.stationDirs.emplace();
    for (const std::string& s : o.stations) {
      std::string path = frame::resolveStationName(s, dir);
      if (!station::isStationDirectory(*ctx.env.files, path)) {
        return fail(ctx, kExitFailed,
                    frame::fillText(platform::loadString(kMsgNoStationAt), {path}));
      }
      change.stationDirs->push_back(path);
    }
  }
  // A running program keeps its own copy of the settings and would write it back at exit.
  // A lock file that cannot be made at all (a read-only directory) leaves the writes to
  // fail on their own.
  auto lock = platform::InstanceLock::acquire(dir);
  if (!lock && lock.status().kind() == platform::Errc::kBusy) {
    return fail(ctx, kExitFailed,
                platform::loadString(kMsgProgramDirBusy) + " (" + lock.status().message() + ")");
  }
  auto now = frame::changeAutoDownloadIn(*ctx.env.files, dir, change);
  if (!now) {
    const platform::Status& s = now.status();
    // A choice that would switch the automatic download off unasked is refused like a
    // bad option; the other failures are of the operation.
    if (s.kind() == platform::Errc::kBadArgument && s.code() != 0 &&
        s.code() != kMsgSelectStationsFirst) {
      return fail(ctx, kExitUsage, platform::loadString(s.code()));
    }
    return fail(ctx, kExitFailed, failureText(s));
  }
  showCommand(ctx, dir);
  return ctx.exitCode;
}

}  // namespace

void addScheduleCommands(CLI::App& app, CommandContext& ctx) {
  auto o = std::make_shared<SetOptions>();
  auto* schedule = app.add_subcommand("schedule", "The automatic download: its stations and hours");
  schedule->require_subcommand(1);

  auto* show = schedule->add_subcommand("show", "Show the stations, hours and minute");
  show->add_option("--program-dir", o->programDir, "program directory (default: current)");
  show->callback([&ctx, o] { showCommand(ctx, o->programDir); });

  auto* set = schedule->add_subcommand(
      "set", "Change the stations downloaded automatically, the hours or the minute");
  auto* stations = set->add_option("stations", o->stations,
                                   "station directories, in download order (default: keep the "
                                   "current list)");
  set->add_flag("--no-stations", o->noStations,
                "empty the list, which switches the automatic download off")
      ->excludes(stations);
  auto* hours = set->add_option("--hours", o->hours,
                                "hours of the day: 7,19 or 6-18 or all or none (default: keep)");
  auto* minute =
      set->add_option("--minute", o->minute, "minutes past the hour, 0-59 (default: keep)");
  set->add_option("--program-dir", o->programDir, "program directory (default: current)");
  set->callback([&ctx, o, hours, minute] {
    o->hoursGiven = hours->count() > 0;
    o->minuteGiven = minute->count() > 0;
    ctx.exitCode = setCommand(ctx, *o);
  });
}

}  // namespace cli
