#include <CLI/CLI.hpp>
#include <charconv>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "cli/cli.h"
#include "database/record_text.h"
#include "frame/command_line_switches.h"
#include "frame/messages.h"
#include "frame/program.h"
#include "frame/program_runner.h"
#include "frame/program_settings.h"
#include "frame/unit_choices.h"
#include "frame/user_conventions.h"
#include "platform/com_port_map.h"
#include "platform/string_table.h"
#include "station/record_listing.h"
#include "station/station_config.h"
#include "station/station_creator.h"
#include "station/station_report.h"
#include "station/station_setup.h"
#include "station/station_state.h"

namespace cli {

namespace {

// Questions are answered by the command's own switches, never by waiting for a person.
class SwitchPrompts : public station::StationPrompts {
 public:
  SwitchPrompts(bool answer, std::ostream& err) : answer_(answer), err_(err) {}
  bool ask(std::string_view, std::string_view text) override {
    err_ << text << (answer_ ? " [yes]\n" : " [no]\n");
    return answer_;
  }
  void showError(std::string_view text) override { err_ << "stratalog station: " << text << "\n"; }

 private:
  bool answer_;
  std::ostream& err_;
};

int fail(CommandContext& ctx, const platform::Status& s) {
  *ctx.err << "stratalog station: " << s.message() << "\n";
  return s.kind() == platform::Errc::kBadArgument ? kExitUsage : kExitFailed;
}

struct Options {
  StationChoice choice;
  std::string name;
  std::string parent;
  std::string model;
  bool useExisting = false;
  bool renameDirectory = false;
  std::string port;
  int baud = 0;
  std::string modem;
  std::string pulse;
  std::string phone;
  std::string modemInit;
  std::string connectWait;
  double timeoutMinutes = -1;
  double latitude = 1000;
  double longitude = 1000;
  std::vector<std::string> sensors;
  std::string temperatureUnit, barometerUnit, windUnit, rainUnit, elevationUnit;
};

// "on"/"off" as given to a switch option.
platform::Result<bool> onOff(const std::string& v) {
  if (v == "on" || v == "yes" || v == "1") return true;
  if (v == "off" || v == "no" || v == "0") return false;
  return platform::Status::badArgument("'" + v + "' is neither on nor off");
}

// The model as a code (0-6) or as its name ("Cirrant Pro").
platform::Result<std::uint16_t> modelCode(const std::string& text) {
  int code = station::modelCodeForName(text);
  if (code < 0 && text.size() == 1 && text[0] >= '0' && text[0] <= '6') code = text[0] - '0';
  if (code < 0) return platform::Status::badArgument("unknown station model '" + text + "'");
  return static_cast<std::uint16_t>(code);
}

// The options of "station set" as the setup's fields. A port that is not a number is a
// device path for the port map.
platform::Result<station::StationSettings> settingsOf(const Options& o, std::string& portDevice) {
  station::StationSettings s;
  if (!o.name.empty()) s.name = o.name;
  if (!o.model.empty()) {
    auto code = modelCode(o.model);
    if (!code.isOk()) return code.status();
    s.model = *code;
  }
  if (platform::isDevicePath(o.port)) {
    portDevice = o.port;
  } else if (!o.port.empty()) {
    int n = 0;
    auto [end, ec] = std::from_chars(o.port.data(), o.port.data() + o.port.size(), n);
    if (ec != std::errc() || end != o.port.data() + o.port.size()) {
      return platform::Status::badArgument(
          "--port '" + o.port + "' is neither a port number nor a device path (/dev/...)");
    }
    s.comPort = n;  // the station's settings refuse a number outside 1-18
  }
  if (o.baud != 0) s.baudRate = o.baud;
  for (auto [text, field] : {std::pair{&o.modem, &s.useModem}, std::pair{&o.pulse, &s.pulseDial}}) {
    if (text->empty()) continue;
    auto v = onOff(*text);
    if (!v.isOk()) return v.status();
    *field = *v;
  }
  if (!o.phone.empty()) s.phoneNumber = o.phone;
  if (!o.modemInit.empty()) s.modemInit = o.modemInit;
  if (!o.connectWait.empty()) s.connectWait = o.connectWait;
  if (o.timeoutMinutes >= 0) s.timeoutMinutes = o.timeoutMinutes;
  if (o.latitude != 1000) s.latitude = o.latitude;
  if (o.longitude != 1000) s.longitude = o.longitude;
  for (const std::string& item : o.sensors) {
    const auto eq = item.find('=');
    auto sensor = station::sensorForName(item.substr(0, eq));
    if (!sensor)
      return platform::Status::badArgument("unknown sensor '" + item.substr(0, eq) + "'");
    auto on = eq == std::string::npos ? platform::Result<bool>(true) : onOff(item.substr(eq + 1));
    if (!on.isOk()) return on.status();
    s.sensors.emplace_back(*sensor, *on);
  }
  return s;
}

void addCreate(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd =
      group.add_subcommand("create", "Create a station directory with its tree and settings");
  cmd->add_option("--name", o->name, "station name")->required();
  cmd->add_option("--parent", o->parent,
                  "directory the station directory goes in (default: current)");
  cmd->add_option("--model", o->model, "model name or code 0-6 (default: Cirrant Pro)");
  cmd->add_flag("--use-existing", o->useExisting, "use the directory even when it exists already");
  cmd->callback([&ctx, o] {
    station::NewStation request{
        o->name, o->parent.empty() ? frame::resolveProgramDirectory({}) : o->parent, 5};
    if (!o->model.empty()) {
      auto code = modelCode(o->model);
      if (!code.isOk()) return void(ctx.exitCode = fail(ctx, code.status()));
      request.model = *code;
    }
    SwitchPrompts prompts(o->useExisting, *ctx.err);
    auto dir = station::createStation(*ctx.env.files, request, station::stationDataSets(), prompts);
    if (!dir.isOk())
      return void(ctx.exitCode = dir.status().kind() == platform::Errc::kBadArgument ? kExitUsage
                                                                                     : kExitFailed);
    *ctx.out << *dir << "\n";
    ctx.exitCode = kExitOk;
  });
}

// The station the person named, loaded with its lists; empty (the exit code set and the
// reason printed) when it cannot be.
std::optional<station::StationState> loadNamedStation(CommandContext& ctx, StationChoice& named) {
  if (!resolveStation(ctx, named)) return std::nullopt;
  auto st = station::loadStation(*ctx.env.files, named.station, station::stationDataSets());
  if (!st.isOk()) {
    ctx.exitCode = fail(ctx, st.status());
    return std::nullopt;
  }
  return std::move(*st);
}

void addShow(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("show", "Show a station's settings");
  addStationOptions(cmd, o->choice);
  cmd->callback([&ctx, o] {
    auto st = loadNamedStation(ctx, o->choice);
    if (!st) return;
    *ctx.out << station::describeStation(*st);
    auto units = frame::describeUnits(*ctx.env.files, programDirectory(o->choice.programDir));
    if (units.isOk()) *ctx.out << "units: " << *units << "\n";
    ctx.exitCode = kExitOk;
  });
}

void addSet(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("set", "Change a station's settings as the setup dialogs do");
  addStationOptions(cmd, o->choice);
  cmd->add_option("--name", o->name, "station name (at most 40 characters)");
  cmd->add_flag("--rename-directory", o->renameDirectory,
                "after a new name, rename the directory to match");
  cmd->add_option("--model", o->model, "model name or code 0-6; sets the model's sensors");
  cmd->add_option("--port", o->port, "port number, or a device path entered in comports.txt");
  cmd->add_option("--baud", o->baud, "1200, 2400, 4800, 9600, 14400 or 19200");
  cmd->add_option("--modem", o->modem, "on or off: reach the station through a telephone modem");
  cmd->add_option("--pulse", o->pulse, "on or off: pulse dialling");
  cmd->add_option("--phone", o->phone, "the station's telephone number");
  cmd->add_option("--modem-init", o->modemInit, "modem initialisation string");
  cmd->add_option("--connect-wait", o->connectWait,
                  "seconds to wait after the modem connects, 0-127");
  cmd->add_option("--timeout", o->timeoutMinutes, "link time-out in minutes");
  cmd->add_option("--latitude", o->latitude, "decimal degrees, south negative");
  cmd->add_option("--longitude", o->longitude, "decimal degrees, west negative");
  cmd->add_option("--sensor", o->sensors, "NAME=on|off, e.g. outside-humidity=on (repeatable)");
  cmd->add_option("--temperature-unit", o->temperatureUnit, "F or C");
  cmd->add_option("--barometer-unit", o->barometerUnit, "inHg, mm, mb or hPa");
  cmd->add_option("--wind-unit", o->windUnit, "mph, knots, kmh or ms");
  cmd->add_option("--rain-unit", o->rainUnit, "in or mm");
  cmd->add_option("--elevation-unit", o->elevationUnit, "m or ft");
  cmd->callback([&ctx, o] {
    if (!resolveStation(ctx, o->choice)) return;
    std::string portDevice;
    auto settings = settingsOf(*o, portDevice);
    if (!settings.isOk()) return void(ctx.exitCode = fail(ctx, settings.status()));
    SwitchPrompts prompts(o->renameDirectory, *ctx.err);
    const std::string programDir = programDirectory(o->choice.programDir);
    auto st = station::changeStation(*ctx.env.files, o->choice.station, *settings, portDevice, programDir,
                                     prompts);
    if (!st.isOk()) return void(ctx.exitCode = fail(ctx, st.status()));
    if (const std::string moved = st->config.stationDir(); moved != o->choice.station) {
      if (platform::Status s =
              frame::followRenamedStation(*ctx.env.files, programDir, o->choice.station, moved);
          !s.isOk()) {
        return void(ctx.exitCode = fail(ctx, s));
      }
    }
    frame::UnitChoices units;
    for (auto [text, field] :
         {std::pair{&o->temperatureUnit, &units.temperature},
          std::pair{&o->barometerUnit, &units.barometer}, std::pair{&o->windUnit, &units.wind},
          std::pair{&o->rainUnit, &units.rain}, std::pair{&o->elevationUnit, &units.elevation}}) {
      if (!text->empty()) *field = *text;
    }
    if (units.any()) {
      if (platform::Status s = frame::applyUnitChoices(*ctx.env.files, programDir, units);
          !s.isOk()) {
        return void(ctx.exitCode = fail(ctx, s));
      }
    }
    *ctx.out << station::describeStation(*st);
    ctx.exitCode = kExitOk;
  });
}

void addLists(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("lists", "List a station's data lists and their columns");
  addStationOptions(cmd, o->choice);
  cmd->callback([&ctx, o] {
    auto st = loadNamedStation(ctx, o->choice);
    if (!st) return;
    *ctx.out << station::describeDataLists(*st);
    ctx.exitCode = kExitOk;
  });
}

// "YYYY-MM-DD" as a packed day; 0 for an empty text.
platform::Result<std::int32_t> packedDay(const std::string& text) {
  if (text.empty()) return 0;
  auto date = database::parseDateTimeText(text);
  if (!date || text.size() != 10) {
    return platform::Status::badArgument("'" + text + "' is not a date YYYY-MM-DD");
  }
  return date->packed();
}

void addPrint(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  struct PrintOptions {
    std::size_t list = 0;
    std::size_t limit = 384;
    std::size_t first = 0;
    std::string separator;
    std::string from, to;
  };
  auto p = std::make_shared<PrintOptions>();
  auto* cmd = group.add_subcommand(
      "print", "Print a station's archive records through one of its data lists");
  addStationOptions(cmd, o->choice);
  cmd->add_option("--list", p->list, "data list number (see 'station lists'; default 0)");
  cmd->add_option("--limit", p->limit, "line length (default 384)");
  cmd->add_option("--first-column", p->first, "first item of the list to show (default 0)");
  cmd->add_option("--separator", p->separator,
                  "one character: delimited lines instead of fixed columns");
  cmd->add_option("--from", p->from, "first day, YYYY-MM-DD");
  cmd->add_option("--to", p->to, "last day, YYYY-MM-DD");
  cmd->callback([&ctx, o, p] {
    if (p->separator.size() > 1) {
      return void(ctx.exitCode =
                      fail(ctx, platform::Status::badArgument("the separator is one character")));
    }
    auto from = packedDay(p->from);
    auto to = packedDay(p->to);
    if (!from.isOk()) return void(ctx.exitCode = fail(ctx, from.status()));
    if (!to.isOk()) return void(ctx.exitCode = fail(ctx, to.status()));
    auto st = loadNamedStation(ctx, o->choice);
    if (!st) return;
    const station::ListingRequest request{
        p->list, p->limit, p->first, p->separator.empty() ? '\0' : p->separator[0], *from, *to};
    const quantities::UserConventions conventions =
        userConventions(ctx, o->choice.programDir);
    platform::Status s = station::printRecords(*ctx.env.files, *st, request, conventions, *ctx.out);
    ctx.exitCode = s.isOk() ? kExitOk : fail(ctx, s);
  });
}

void addDelete(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  constexpr int kMsgDeleteNotConfirmed = 64484;
  constexpr int kMsgStationDeleted = 64485;
  struct DeleteOptions {
    bool yes = false;
    std::string programDir;
  };
  auto d = std::make_shared<DeleteOptions>();
  auto* cmd = group.add_subcommand(
      "delete", "Delete a station: out of download.lst, then its directory from disk");
  cmd->add_option("--station", o->choice.station, "station directory")->required();
  cmd->add_flag("--yes", d->yes, "delete without asking");
  cmd->add_option("--program-dir", d->programDir,
                  "program directory holding download.lst (default: current)");
  cmd->callback([&ctx, o, d] {
    // The station is not opened: one whose settings no longer read can still be deleted.
    ctx.exitCode =
        frame::runWithStation(runOptions(ctx, d->programDir), {}, [&](frame::Program& program) {
          const std::string dir = frame::resolveStationName(o->choice.station, program.programDirectory());
          platform::Status s = program.deleteStation(dir, d->yes);
          if (s.kind() == platform::Errc::kCancelled) {
            *ctx.err << "stratalog station delete: "
                     << frame::fillText(platform::loadString(kMsgDeleteNotConfirmed), {dir})
                     << "\n";
            return kExitFailed;
          }
          if (!s.isOk()) {
            *ctx.err << "stratalog station delete: " << s.message() << "\n";
            return kExitFailed;
          }
          *ctx.out << frame::fillText(platform::loadString(kMsgStationDeleted), {dir}) << "\n";
          return kExitOk;
        });
  });
}

}  // namespace

void addStationCommands(CLI::App& app, CommandContext& ctx) {
  auto options = std::make_shared<Options>();
  auto* group = app.add_subcommand("station", "Create, show, change and delete a station");
  group->require_subcommand(1);
  addCreate(*group, ctx, options);
  addShow(*group, ctx, options);
  addSet(*group, ctx, options);
  addLists(*group, ctx, options);
  addPrint(*group, ctx, options);
  addDelete(*group, ctx, options);
}

}  // namespace cli
