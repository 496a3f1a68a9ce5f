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

constexpr int kHelpSchedule = 65420;
constexpr int kHelpShow = 65421;
constexpr int kHelpSet = 65422;
constexpr int kHelpStations = 65423;
constexpr int kHelpNoStations = 65424;
constexpr int kHelpHours = 65425;
constexpr int kHelpMinute = 65426;
constexpr int kLabelAutoDownload = 65427;
constexpr int kTextOn = 65428;
constexpr int kTextOff = 65429;
constexpr int kLabelMinute = 65430;
constexpr int kLabelHours = 65431;
constexpr int kTextNoHours = 65432;
constexpr int kLabelStations = 65433;

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
  *ctx.out << frame::fillText(platform::loadString(kLabelAutoDownload),
                              {platform::loadString(s.autoDownload ? kTextOn : kTextOff)})
           << "\n";
  *ctx.out << frame::fillText(platform::loadString(kLabelMinute), {std::to_string(s.offsetMinutes)})
           << "\n";
  *ctx.out << platform::loadString(kLabelHours);
  bool any = false;
  for (int h = 0; h < 24; ++h) {
    if (s.hours[static_cast<std::size_t>(h)]) {
      *ctx.out << " " << h;
      any = true;
    }
  }
  if (!any) *ctx.out << " " << platform::loadString(kTextNoHours);
  *ctx.out << "\n" << platform::loadString(kLabelStations) << "\n";
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
  constexpr int kMsgUnnamedStation = 65434;
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
      // An empty name would mean the only station; in a list each one is named.
      if (s.empty()) {
        return fail(ctx, kExitUsage, platform::loadString(kMsgUnnamedStation));
      }
      StationChoice choice{s, dir};
      if (!resolveStation(ctx, choice)) return ctx.exitCode;
      change.stationDirs->push_back(choice.station);
    }
  }
  // A running program keeps its own copy of the settings and would write it back at exit.
  // A lock file that cannot be made at all (a read-only directory) leaves the writes to
  // fail on their own.
  // A client's command runs in that program, which takes the change in.
  auto lock = ctx.host != nullptr
                  ? platform::Result<platform::InstanceLock>(platform::InstanceLock())
                  : platform::InstanceLock::acquire(dir);
  if (!lock && lock.status().kind() == platform::Errc::kBusy) {
    return fail(ctx, kExitFailed, platform::loadString(kMsgProgramDirBusy));
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
  auto* schedule = app.add_subcommand("schedule", helpText(kHelpSchedule));
  schedule->require_subcommand(1);

  auto* show = schedule->add_subcommand("show", helpText(kHelpShow));
  addProgramDirOption(show, o->programDir);
  show->callback([&ctx, o] { showCommand(ctx, o->programDir); });

  auto* set = schedule->add_subcommand("set", helpText(kHelpSet));
  auto* stations = set->add_option("--station", o->stations, helpText(kHelpStations));
  set->add_flag("--no-stations", o->noStations, helpText(kHelpNoStations))->excludes(stations);
  auto* hours = set->add_option("--hours", o->hours, helpText(kHelpHours));
  auto* minute = set->add_option("--minute", o->minute, helpText(kHelpMinute));
  addProgramDirOption(set, o->programDir);
  set->callback([&ctx, o, hours, minute] {
    // A running program would write its own copy back: it makes the change itself.
    if (auto code = runInRunningProgram(ctx, o->programDir)) {
      ctx.exitCode = *code;
      return;
    }
    o->hoursGiven = hours->count() > 0;
    o->minuteGiven = minute->count() > 0;
    ctx.exitCode = setCommand(ctx, *o);
  });
}

}  // namespace cli
