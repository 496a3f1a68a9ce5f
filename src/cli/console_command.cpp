// stratalog console <sub>: talk to a station's console over its serial port.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "frame/command_line_switches.h"
#include "frame/event_log.h"
#include "frame/link_error_table.h"
#include "frame/password_admin.h"
#include "frame/program_runner.h"
#include "link/console_session.h"
#include "link/serial_port_manager.h"
#include "platform/string_table.h"
#include "platform/user_interface.h"
#include "station/station_file.h"

namespace cli {

namespace {

struct ConsoleOptions {
  std::string port;
  std::uint32_t baud = 19200;
  bool yes = false;
  int minutes = 0;
  std::string time;
  std::string station;
};

constexpr int kMsgNoStationFollows = 64242;
constexpr int kMsgStationIntervalSaved = 64243;
constexpr int kMsgStationNotSaved = 64101;

void addPortOptions(CLI::App* sub, ConsoleOptions& o) {
  sub->add_option("--port", o.port, "serial port: a port number (see comports.txt) or a device")
      ->required();
  sub->add_option("--baud", o.baud, "speed of the console's serial line")->capture_default_str();
}

// Reports a failed operation: the link's own message for link errors, else the status text.
int report(CommandContext& ctx, const ConsoleOptions& o, const platform::Status& s) {
  if (s.isOk()) return kExitOk;
  *ctx.err << "stratalog console: " << o.port << ": ";
  // A refused password carries the id of its message, not a link error.
  if (s.kind() == platform::Errc::kPermission || s.kind() == platform::Errc::kCancelled) {
    *ctx.err << (platform::stringText(s.code()).empty() ? s.message()
                                                        : platform::loadString(s.code()))
             << "\n";
    return kExitFailed;
  }
  std::string_view text = s.code() < 0 || s.code() > 0 ? frame::linkErrorText(s.code()) : "";
  if (s.kind() == platform::Errc::kBadArgument || s.kind() == platform::Errc::kUnsupported ||
      text.empty()) {
    *ctx.err << s.message() << "\n";
  } else {
    *ctx.err << text << " (" << s.message() << ")\n";
  }
  return s.kind() == platform::Errc::kBadArgument ? kExitUsage : kExitFailed;
}

// Builds the link in a port manager whose link errors go to the program directory's event
// log, as every other link's do, runs `op` on it and sets the exit code.
void withConsole(CommandContext& ctx, const ConsoleOptions& o,
                 const std::function<platform::Status(stationlink::CirrantLink&)>& op) {
  auto params = stationlink::commandLinkParams({o.port, o.baud});
  if (!params) {
    ctx.exitCode = report(ctx, o, params.status());
    return;
  }
  frame::EventLog log(*ctx.env.files, *ctx.env.clock, frame::resolveProgramDirectory({}));
  stationlink::LinkServices services;
  services.opener = ctx.env.serialPorts;
  services.clock = ctx.env.clock;
  services.reportLine = [&log](std::string_view source, std::string_view line) {
    (void)log.append(line, source);
  };
  stationlink::SerialPortManager ports(services);
  // A Cirrant link's parameters always give a CirrantLink.
  auto* link = static_cast<stationlink::CirrantLink*>(ports.AddPort(*params));
  ctx.exitCode = report(ctx, o, op(*link));
}

// Changes a console setting: the console password first (never answered by --yes), then
// the confirmation `question` unless --yes or no question is given, then `change`.
platform::Status changeSetting(CommandContext& ctx, const ConsoleOptions& o,
                               stationlink::CirrantLink& link, std::string_view question,
                               const std::function<platform::Status()>& change) {
  auto ui = platform::makeUserInterface(*ctx.env.files, *ctx.env.clock);
  return frame::changeConsoleSetting(*ui, link, [&]() -> platform::Status {
    if (!o.yes && !question.empty() && !ui->question("Tenga en cuenta", question)) {
      return platform::Status(platform::Errc::kCancelled,
                              "not confirmed; nothing was changed (use --yes to skip the "
                              "question)",
                              0);
    }
    return change();
  });
}

// A text of the string table with its printf arguments filled in.
template <typename... Args>
std::string formatted(int id, Args... args) {
  std::string format = platform::loadString(id);
  int n = std::snprintf(nullptr, 0, format.c_str(), args...);
  if (n < 0) return format;
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(out.data(), out.size(), format.c_str(), args...);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string twoDigits(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

std::string timeText(const stationlink::ConsoleTime& t) {
  return std::to_string(t.year) + "-" + twoDigits(t.month) + "-" + twoDigits(t.day) + " " +
         twoDigits(t.hour) + ":" + twoDigits(t.minute);
}

}  // namespace

void addConsoleCommands(CLI::App& app, CommandContext& ctx) {
  auto* console = app.add_subcommand("console", "Talk to the station's console");
  console->require_subcommand(1);
  auto o = std::make_shared<ConsoleOptions>();

  auto* identify = console->add_subcommand("identify", "Show the console's model");
  addPortOptions(identify, *o);
  identify->callback([&ctx, o] {
    withConsole(ctx, *o, [&](stationlink::CirrantLink& link) {
      auto model = link.Identify();
      if (!model) return model.status();
      const char* name = stationlink::consoleModelName(*model);
      *ctx.out << "model " << *model << ": " << (*name ? name : "unknown model") << "\n";
      return platform::Status::ok();
    });
  });

  auto* clock = console->add_subcommand("clock", "Show the console's clock");
  addPortOptions(clock, *o);
  clock->callback([&ctx, o] {
    withConsole(ctx, *o, [&](stationlink::CirrantLink& link) {
      auto t = link.GetTime();
      if (!t) return t.status();
      *ctx.out << timeText(*t) << "\n";
      return platform::Status::ok();
    });
  });

  auto* setClock = console->add_subcommand("set-clock", "Set the console's clock");
  addPortOptions(setClock, *o);
  setClock->add_option("--time", o->time,
                       "local time as YYYY-MM-DD HH:MM (default: this computer's clock)");
  setClock->callback([&ctx, o] {
    withConsole(ctx, *o, [&](stationlink::CirrantLink& link) -> platform::Status {
      auto t = o->time.empty() ? platform::Result<stationlink::ConsoleTime>(
                                     stationlink::consoleTimeFrom(ctx.env.clock->localNow()))
                               : stationlink::parseConsoleTime(o->time);
      if (!t) return t.status();
      return changeSetting(ctx, *o, link, "", [&]() -> platform::Status {
        if (platform::Status s = link.SetTime(*t); !s) return s;
        *ctx.out << "console clock set to " << timeText(*t) << "\n";
        return platform::Status::ok();
      });
    });
  });

  auto* interval = console->add_subcommand("interval", "Show the console's archive interval");
  addPortOptions(interval, *o);
  interval->callback([&ctx, o] {
    withConsole(ctx, *o, [&](stationlink::CirrantLink& link) {
      auto minutes = link.GetArchiveInterval();
      if (!minutes) return minutes.status();
      *ctx.out << *minutes << " min\n";
      return platform::Status::ok();
    });
  });

  auto* setInterval = console->add_subcommand(
      "set-interval", "Set the archive interval (this empties the console's archive)");
  addPortOptions(setInterval, *o);
  setInterval->add_option("minutes", o->minutes, "1, 5, 10, 15, 30, 60 or 120")->required();
  setInterval->add_flag("--yes", o->yes, "do not ask for confirmation (the password still is)");
  setInterval->add_option("--station", o->station,
                          "station directory whose STATION.CFG takes the new interval");
  setInterval->callback([&ctx, o] {
    auto code = stationlink::archiveIntervalCode(o->minutes);
    if (!code) {
      *ctx.err << "stratalog console: the archive interval must be 1, 5, 10, 15, 30, 60 or 120 "
                  "minutes\n";
      ctx.exitCode = kExitUsage;
      return;
    }
    // The station is read before the console is touched, so a station that cannot follow
    // stops the command while nothing has changed yet.
    std::string stationDir;
    std::optional<station::StationConfig> config;
    if (!o->station.empty()) {
      stationDir = frame::resolveStationName(o->station, frame::resolveProgramDirectory({}));
      auto read = station::readStationRecord(*ctx.env.files, stationDir);
      if (!read) {
        *ctx.err << "stratalog console: " << stationDir << ": " << read.status().message()
                 << "; nothing was changed\n";
        ctx.exitCode = kExitFailed;
        return;
      }
      config = std::move(*read);
    }
    withConsole(ctx, *o, [&](stationlink::CirrantLink& link) -> platform::Status {
      return changeSetting(
          ctx, *o, link, "Esta operación borrará la memoria de archivo.",
          [&]() -> platform::Status {
            if (platform::Status s = link.SetArchiveInterval(*code); !s) return s;
            *ctx.out << "archive interval set to " << o->minutes
                     << " min; the archive was cleared\n";
            if (!config) {
              *ctx.out << platform::loadString(kMsgNoStationFollows) << "\n";
              return platform::Status::ok();
            }
            config->setArchiveInterval(static_cast<std::uint8_t>(o->minutes));
            if (platform::Status s =
                    station::writeStationRecord(*ctx.env.files, *config, stationDir);
                !s.isOk()) {
              return platform::Status(platform::Errc::kIo,
                                      platform::loadString(kMsgStationNotSaved) + " (" +
                                          stationDir + ": " + s.message() + ")",
                                      0);
            }
            *ctx.out << formatted(kMsgStationIntervalSaved, stationDir.c_str(), o->minutes) << "\n";
            return platform::Status::ok();
          });
    });
  });

  auto* version = console->add_subcommand("version", "Show the date of the console's firmware");
  addPortOptions(version, *o);
  version->callback([&ctx, o] {
    withConsole(ctx, *o, [&](stationlink::CirrantLink& link) {
      auto date = link.GetFirmwareDate();
      if (!date) return date.status();
      if (!date->valid) {
        *ctx.out << "firmware date not recognised\n";
      } else {
        *ctx.out << date->year << "-" << twoDigits(date->month) << "-" << twoDigits(date->day)
                 << "\n";
      }
      return platform::Status::ok();
    });
  });

  auto* reception = console->add_subcommand("reception", "Show the reception statistics");
  addPortOptions(reception, *o);
  reception->callback([&ctx, o] {
    withConsole(ctx, *o, [&](stationlink::CirrantLink& link) {
      auto counts = link.ReceptionCheck();
      if (!counts) return counts.status();
      // The console's own counters, in its order; their meaning is the console's.
      *ctx.out << "reception statistics:";
      for (int v : *counts) *ctx.out << " " << v;
      *ctx.out << "\n";
      return platform::Status::ok();
    });
  });

  auto* clear = console->add_subcommand("clear-archive", "Erase the console's archive memory");
  addPortOptions(clear, *o);
  clear->add_flag("--yes", o->yes, "do not ask for confirmation (the password still is)");
  clear->callback([&ctx, o] {
    withConsole(ctx, *o, [&](stationlink::CirrantLink& link) -> platform::Status {
      return changeSetting(ctx, *o, link, "Esta operación borrará la memoria de archivo.",
                           [&]() -> platform::Status {
                             if (platform::Status s = link.ClearArchive(); !s) return s;
                             *ctx.out << "console archive cleared\n";
                             return platform::Status::ok();
                           });
    });
  });
}

}  // namespace cli
