// stratalog console <sub>: talk to a station's console over its serial port.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "frame/event_log.h"
#include "frame/link_error_table.h"
#include "frame/messages.h"
#include "frame/password_admin.h"
#include "link/console_session.h"
#include "link/serial_port_manager.h"
#include "link/station_link.h"
#include "platform/string_table.h"
#include "platform/user_interface.h"
#include "records/month_format.h"
#include "station/station_file.h"

namespace cli {

namespace {

constexpr int kHelpConsole = 65440;
constexpr int kHelpPort = 65441;
constexpr int kHelpBaud = 65442;
constexpr int kHelpIdentify = 65443;
constexpr int kHelpClock = 65444;
constexpr int kHelpSetClock = 65445;
constexpr int kHelpTime = 65446;
constexpr int kHelpInterval = 65447;
constexpr int kHelpSetInterval = 65448;
constexpr int kHelpMinutes = 65449;
constexpr int kHelpYes = 65450;
constexpr int kHelpVersion = 65451;
constexpr int kHelpReception = 65452;
constexpr int kHelpClearArchive = 65453;

constexpr int kMsgModel = 65460;
constexpr int kMsgUnknownModel = 65461;
constexpr int kMsgConsoleClock = 65462;
constexpr int kMsgClockSet = 65463;
constexpr int kMsgConsoleInterval = 65464;
constexpr int kMsgIntervalSet = 65465;
constexpr int kMsgBadInterval = 65466;
constexpr int kMsgNotConfirmed = 65467;
constexpr int kMsgFirmwareUnknown = 65468;
constexpr int kMsgFirmware = 65469;
constexpr int kMsgReception = 65470;
constexpr int kMsgArchiveCleared = 65471;
constexpr int kMsgNothingChanged = 65472;
constexpr int kMsgNotATime = 65473;
constexpr int kMsgNotCirrant = 65474;
constexpr int kMsgBadBaud = 65475;
constexpr int kTitleNotice = 65476;
constexpr int kQuestionClearsArchive = 65477;
constexpr int kMsgNoStationFollows = 64242;
constexpr int kMsgStationIntervalSaved = 64243;
constexpr int kMsgStationNotSaved = 64101;

std::string text(int id, std::initializer_list<std::string_view> args) {
  return frame::fillText(platform::loadString(id), args);
}

struct ConsoleOptions {
  std::string port;
  std::uint32_t baud = 19200;
  StationChoice choice;
  bool yes = false;
  int minutes = 0;
  // --time as typed: the date and the time of day in one word or in two.
  std::vector<std::string> time;
};

// The console is reached through a station's own port settings (--station, or the only or
// last station), or through a port named with --port.
void addConsoleTargetOptions(CLI::App* sub, ConsoleOptions& o) {
  addStationOptions(sub, o.choice);
  sub->add_option("--port", o.port, helpText(kHelpPort));
  sub->add_option("--baud", o.baud, helpText(kHelpBaud))->capture_default_str();
}

// The console a command talks to: the link's parameters, the name failures are reported
// under and, reached through a station, that station's settings.
struct ConsoleTarget {
  stationlink::PortParams params;
  std::string label;
  std::string stationDir;
  std::optional<station::StationConfig> config;
};

// Reports a failed operation: the link's own message for link errors, else the status text.
int report(CommandContext& ctx, const std::string& label, const platform::Status& s) {
  if (s.isOk()) return kExitOk;
  *ctx.err << "stratalog console: " << label << ": ";
  // A refused password carries the id of its message, not a link error.
  if (s.kind() == platform::Errc::kPermission || s.kind() == platform::Errc::kCancelled) {
    *ctx.err << (platform::stringText(s.code()).empty() ? s.message()
                                                        : platform::loadString(s.code()))
             << "\n";
    return kExitFailed;
  }
  std::string_view linkText = s.code() != 0 ? frame::linkErrorText(s.code()) : "";
  if (s.kind() == platform::Errc::kBadArgument || s.kind() == platform::Errc::kUnsupported ||
      linkText.empty()) {
    *ctx.err << s.message() << "\n";
  } else {
    *ctx.err << linkText << " (" << s.message() << ")\n";
  }
  return s.kind() == platform::Errc::kBadArgument ? kExitUsage : kExitFailed;
}

bool usageFailure(CommandContext& ctx, const std::string& message) {
  *ctx.err << "stratalog console: " << message << "\n";
  ctx.exitCode = kExitUsage;
  return false;
}

bool validBaud(std::uint32_t baud) {
  for (std::uint32_t b : {1200U, 2400U, 4800U, 9600U, 14400U, 19200U}) {
    if (b == baud) return true;
  }
  return false;
}

// The station named (or the only or last one), read but not opened: its port settings and
// the settings a new archive interval goes into. Empty, with the reason printed and the
// exit code set, when there is none or it does not read.
std::optional<ConsoleTarget> stationTarget(CommandContext& ctx, ConsoleOptions& o) {
  if (!resolveStation(ctx, o.choice)) return std::nullopt;
  ConsoleTarget target;
  target.stationDir = o.choice.station;
  target.label = o.choice.station;
  auto read = station::readStationRecord(*ctx.env.files, target.stationDir);
  if (!read) {
    *ctx.err << "stratalog console: " << target.stationDir << ": "
             << text(kMsgNothingChanged, {read.status().message()}) << "\n";
    ctx.exitCode = kExitFailed;
    return std::nullopt;
  }
  target.config = std::move(*read);
  return target;
}

// Where the command talks: --port when given (with --station only naming the station that
// follows a change), else the station's own port. Nothing is opened yet.
std::optional<ConsoleTarget> consoleTarget(CommandContext& ctx, ConsoleOptions& o,
                                           bool stationFollows) {
  if (!o.port.empty()) {
    if (!validBaud(o.baud)) {
      usageFailure(ctx, text(kMsgBadBaud, {std::to_string(o.baud)}));
      return std::nullopt;
    }
    auto params = stationlink::commandLinkParams({o.port, o.baud});
    if (!params) {
      ctx.exitCode = report(ctx, o.port, params.status());
      return std::nullopt;
    }
    ConsoleTarget target;
    if (stationFollows && !o.choice.station.empty()) {
      auto named = stationTarget(ctx, o);
      if (!named) return std::nullopt;
      target = std::move(*named);
    }
    target.params = *params;
    target.label = o.port;
    return target;
  }
  auto target = stationTarget(ctx, o);
  if (!target) return std::nullopt;
  target->params = stationlink::portParamsFromStation(*target->config);
  // The console commands speak the protocol of one family of consoles only.
  if (target->params.linkType != stationlink::LinkType::kCirrant) {
    *ctx.err << "stratalog console: " << text(kMsgNotCirrant, {target->config->stationName()})
             << "\n";
    ctx.exitCode = kExitFailed;
    return std::nullopt;
  }
  return target;
}

// Builds the link in a port manager whose link errors go to the program directory's event
// log, as every other link's do, runs `op` on it and sets the exit code.
void withConsole(CommandContext& ctx, const ConsoleOptions& o, const ConsoleTarget& target,
                 const std::function<platform::Status(stationlink::CirrantLink&)>& op) {
  frame::EventLog log(*ctx.env.files, *ctx.env.clock, programDirectory(o.choice.programDir));
  stationlink::LinkServices services;
  services.opener = commandEnv(ctx, o.choice.programDir).serialPorts;
  services.clock = ctx.env.clock;
  services.reportLine = [&log](std::string_view source, std::string_view line) {
    (void)log.append(line, source);
  };
  stationlink::SerialPortManager ports(services);
  // Cirrant parameters always give a CirrantLink.
  auto* link = static_cast<stationlink::CirrantLink*>(ports.AddPort(target.params));
  ctx.exitCode = report(ctx, target.label, op(*link));
}

// The target, then the link: the common path of every subcommand.
void onConsole(CommandContext& ctx, ConsoleOptions& o,
               const std::function<platform::Status(stationlink::CirrantLink&)>& op) {
  auto target = consoleTarget(ctx, o, false);
  if (target) withConsole(ctx, o, *target, op);
}

// Changes a console setting: the console password first (never answered by --yes), then
// the confirmation `question` unless --yes or no question is given, then `change`.
platform::Status changeSetting(CommandContext& ctx, const ConsoleOptions& o,
                               stationlink::CirrantLink& link, const std::string& question,
                               const std::function<platform::Status()>& change) {
  auto ui = platform::makeUserInterface(*ctx.env.files, *ctx.env.clock);
  return frame::changeConsoleSetting(*ui, link, [&]() -> platform::Status {
    if (!o.yes && !question.empty() &&
        !ui->question(platform::loadString(kTitleNotice), question)) {
      return platform::Status(platform::Errc::kCancelled, platform::loadString(kMsgNotConfirmed),
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

records::DateTime dateTimeOf(int year, int month, int day, int hour = 0, int minute = 0) {
  return records::DateTime::fromDate(year, month, day,
                                     static_cast<std::uint16_t>(hour * 60 + minute));
}

// A console time as the owner writes dates and times.
std::string consoleTimeText(const stationlink::ConsoleTime& t,
                            const quantities::UserConventions& conventions) {
  const records::DateTime dt = dateTimeOf(t.year, t.month, t.day, t.hour, t.minute);
  return quantities::shortDateText(dt, conventions.intl) + " " +
         quantities::timeText(dt, conventions.intl);
}

std::string joinedWords(const std::vector<std::string>& words) {
  std::string joined;
  for (const std::string& w : words) joined += (joined.empty() ? "" : " ") + w;
  return joined;
}

// --time: a date (ISO or the owner's form), a blank or 'T', and a time of day.
std::optional<stationlink::ConsoleTime> timeArgument(CommandContext& ctx,
                                                     const quantities::UserConventions& conventions,
                                                     const std::string& given) {
  std::size_t split = given.find_last_of(' ');
  if (split == std::string::npos) split = given.find('T');
  std::optional<quantities::Date> date;
  std::optional<int> minutes;
  if (split != std::string::npos) {
    date = quantities::parseDateOption(given.substr(0, split), conventions.intl);
    minutes = quantities::parseTime(given.substr(split + 1), conventions.intl);
  }
  if (!date || !minutes || *minutes < 0 || *minutes >= 24 * 60) {
    const records::DateTime example = dateTimeOf(2006, 7, 15, 14, 30);
    usageFailure(
        ctx, text(kMsgNotATime, {given, quantities::shortDateText(example, conventions.intl) + " " +
                                            quantities::timeText(example, conventions.intl)}));
    return std::nullopt;
  }
  return stationlink::ConsoleTime{date->year, date->month, date->day, *minutes / 60, *minutes % 60};
}

}  // namespace

void addConsoleCommands(CLI::App& app, CommandContext& ctx) {
  auto* console = app.add_subcommand("console", helpText(kHelpConsole));
  console->require_subcommand(1);
  auto o = std::make_shared<ConsoleOptions>();

  auto* identify = console->add_subcommand("identify", helpText(kHelpIdentify));
  addConsoleTargetOptions(identify, *o);
  identify->callback([&ctx, o] {
    onConsole(ctx, *o, [&](stationlink::CirrantLink& link) {
      auto model = link.Identify();
      if (!model) return model.status();
      const char* name = stationlink::consoleModelName(*model);
      *ctx.out << text(kMsgModel,
                       {std::to_string(*model),
                        *name ? std::string(name) : platform::loadString(kMsgUnknownModel)})
               << "\n";
      return platform::Status::ok();
    });
  });

  auto* clock = console->add_subcommand("clock", helpText(kHelpClock));
  addConsoleTargetOptions(clock, *o);
  clock->callback([&ctx, o] {
    const quantities::UserConventions conventions = userConventions(ctx, o->choice.programDir);
    onConsole(ctx, *o, [&](stationlink::CirrantLink& link) {
      auto t = link.GetTime();
      if (!t) return t.status();
      *ctx.out << text(kMsgConsoleClock, {consoleTimeText(*t, conventions)}) << "\n";
      return platform::Status::ok();
    });
  });

  auto* setClock = console->add_subcommand("set-clock", helpText(kHelpSetClock));
  addConsoleTargetOptions(setClock, *o);
  setClock->add_option("--time", o->time, helpText(kHelpTime))->expected(1, 2);
  setClock->callback([&ctx, o] {
    const quantities::UserConventions conventions = userConventions(ctx, o->choice.programDir);
    std::optional<stationlink::ConsoleTime> t =
        o->time.empty() ? stationlink::consoleTimeFrom(ctx.env.clock->localNow())
                        : timeArgument(ctx, conventions, joinedWords(o->time));
    if (!t) return;
    onConsole(ctx, *o, [&](stationlink::CirrantLink& link) -> platform::Status {
      return changeSetting(ctx, *o, link, "", [&]() -> platform::Status {
        if (platform::Status s = link.SetTime(*t); !s) return s;
        *ctx.out << text(kMsgClockSet, {consoleTimeText(*t, conventions)}) << "\n";
        return platform::Status::ok();
      });
    });
  });

  auto* interval = console->add_subcommand("interval", helpText(kHelpInterval));
  addConsoleTargetOptions(interval, *o);
  interval->callback([&ctx, o] {
    onConsole(ctx, *o, [&](stationlink::CirrantLink& link) {
      auto minutes = link.GetArchiveInterval();
      if (!minutes) return minutes.status();
      *ctx.out << text(kMsgConsoleInterval, {std::to_string(*minutes)}) << "\n";
      return platform::Status::ok();
    });
  });

  auto* setInterval = console->add_subcommand("set-interval", helpText(kHelpSetInterval));
  addConsoleTargetOptions(setInterval, *o);
  setInterval->add_option("minutos", o->minutes, helpText(kHelpMinutes))->required();
  setInterval->add_flag("--yes", o->yes, helpText(kHelpYes));
  setInterval->callback([&ctx, o] {
    auto code = stationlink::archiveIntervalCode(o->minutes);
    if (!code) return void(usageFailure(ctx, platform::loadString(kMsgBadInterval)));
    // The station is read before the console is touched, so a station that cannot follow
    // stops the command while nothing has changed yet.
    auto target = consoleTarget(ctx, *o, true);
    if (!target) return;
    withConsole(ctx, *o, *target, [&](stationlink::CirrantLink& link) -> platform::Status {
      return changeSetting(
          ctx, *o, link, platform::loadString(kQuestionClearsArchive), [&]() -> platform::Status {
            if (platform::Status s = link.SetArchiveInterval(*code); !s) return s;
            *ctx.out << text(kMsgIntervalSet, {std::to_string(o->minutes)}) << "\n";
            if (!target->config) {
              *ctx.out << platform::loadString(kMsgNoStationFollows) << "\n";
              return platform::Status::ok();
            }
            target->config->setArchiveInterval(static_cast<std::uint8_t>(o->minutes));
            if (platform::Status s = station::writeStationRecord(*ctx.env.files, *target->config,
                                                                 target->stationDir);
                !s.isOk()) {
              return platform::Status(platform::Errc::kIo,
                                      platform::loadString(kMsgStationNotSaved) + " (" +
                                          target->stationDir + ": " + s.message() + ")",
                                      0);
            }
            *ctx.out << formatted(kMsgStationIntervalSaved, target->stationDir.c_str(), o->minutes)
                     << "\n";
            return platform::Status::ok();
          });
    });
  });

  auto* version = console->add_subcommand("version", helpText(kHelpVersion));
  addConsoleTargetOptions(version, *o);
  version->callback([&ctx, o] {
    const quantities::UserConventions conventions = userConventions(ctx, o->choice.programDir);
    onConsole(ctx, *o, [&](stationlink::CirrantLink& link) {
      auto date = link.GetFirmwareDate();
      if (!date) return date.status();
      if (!date->valid) {
        *ctx.out << platform::loadString(kMsgFirmwareUnknown) << "\n";
      } else {
        *ctx.out << text(kMsgFirmware,
                         {quantities::shortDateText(dateTimeOf(date->year, date->month, date->day),
                                                    conventions.intl)})
                 << "\n";
      }
      return platform::Status::ok();
    });
  });

  auto* reception = console->add_subcommand("reception", helpText(kHelpReception));
  addConsoleTargetOptions(reception, *o);
  reception->callback([&ctx, o] {
    onConsole(ctx, *o, [&](stationlink::CirrantLink& link) {
      auto counts = link.ReceptionCheck();
      if (!counts) return counts.status();
      // The console's own counters, in its order; their meaning is the console's.
      *ctx.out << platform::loadString(kMsgReception);
      for (int v : *counts) *ctx.out << " " << v;
      *ctx.out << "\n";
      return platform::Status::ok();
    });
  });

  auto* clear = console->add_subcommand("clear-archive", helpText(kHelpClearArchive));
  addConsoleTargetOptions(clear, *o);
  clear->add_flag("--yes", o->yes, helpText(kHelpYes));
  clear->callback([&ctx, o] {
    onConsole(ctx, *o, [&](stationlink::CirrantLink& link) -> platform::Status {
      return changeSetting(ctx, *o, link, platform::loadString(kQuestionClearsArchive),
                           [&]() -> platform::Status {
                             if (platform::Status s = link.ClearArchive(); !s) return s;
                             *ctx.out << platform::loadString(kMsgArchiveCleared) << "\n";
                             return platform::Status::ok();
                           });
    });
  });
}

}  // namespace cli
