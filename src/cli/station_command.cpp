#include <CLI/CLI.hpp>
#include <charconv>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <tuple>

#include "cli/cli.h"
#include "frame/command_line_switches.h"
#include "frame/messages.h"
#include "frame/program.h"
#include "frame/program_runner.h"
#include "frame/program_settings.h"
#include "frame/unit_choices.h"
#include "frame/user_conventions.h"
#include "platform/com_port_map.h"
#include "platform/string_table.h"
#include "records/month_format.h"
#include "station/record_listing.h"
#include "station/station_config.h"
#include "station/station_creator.h"
#include "station/station_report.h"
#include "station/station_setup.h"
#include "station/station_state.h"

namespace cli {

namespace {

constexpr int kHelpGroup = 65340;
constexpr int kHelpCreate = 65341;
constexpr int kHelpCreateName = 65342;
constexpr int kHelpParent = 65343;
constexpr int kHelpCreateModel = 65344;
constexpr int kHelpUseExisting = 65345;
constexpr int kHelpShow = 65346;
constexpr int kHelpSet = 65347;
constexpr int kHelpSetName = 65348;
constexpr int kHelpRenameDirectory = 65349;
constexpr int kHelpSetModel = 65350;
constexpr int kHelpPort = 65351;
constexpr int kHelpBaud = 65352;
constexpr int kHelpModem = 65353;
constexpr int kHelpPulse = 65354;
constexpr int kHelpPhone = 65355;
constexpr int kHelpModemInit = 65356;
constexpr int kHelpConnectWait = 65357;
constexpr int kHelpTimeout = 65358;
constexpr int kHelpLatitude = 65359;
constexpr int kHelpLongitude = 65360;
constexpr int kHelpSensor = 65361;
constexpr int kHelpTemperatureUnit = 65362;
constexpr int kHelpBarometerUnit = 65363;
constexpr int kHelpWindUnit = 65364;
constexpr int kHelpRainUnit = 65365;
constexpr int kHelpElevationUnit = 65366;
constexpr int kHelpLists = 65367;
constexpr int kHelpPrint = 65368;
constexpr int kHelpList = 65369;
constexpr int kHelpLimit = 65370;
constexpr int kHelpFirstColumn = 65371;
constexpr int kHelpSeparator = 65372;
constexpr int kHelpFrom = 65373;
constexpr int kHelpTo = 65374;
constexpr int kHelpDelete = 65375;
constexpr int kHelpDeleteYes = 65376;

constexpr int kMsgNotOnOff = 65380;
constexpr int kMsgUnknownModel = 65381;
constexpr int kMsgBadPort = 65382;
constexpr int kMsgUnknownSensor = 65383;
constexpr int kMsgSeparatorOneCharacter = 65384;
constexpr int kTextYes = 65323;
constexpr int kTextNo = 65324;

std::string text(int id, const std::string& arg) {
  return frame::fillText(platform::loadString(id), {arg});
}

// Questions are answered by the command's own switches, never by waiting for a person.
class SwitchPrompts : public station::StationPrompts {
 public:
  SwitchPrompts(bool answer, std::ostream& err) : answer_(answer), err_(err) {}
  bool ask(std::string_view, std::string_view text) override {
    err_ << text << " [" << platform::loadString(answer_ ? kTextYes : kTextNo) << "]\n";
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
  return platform::Status::badArgument(text(kMsgNotOnOff, v));
}

// The model as a code (0-6) or as its name ("Cirrant Pro").
platform::Result<std::uint16_t> modelCode(const std::string& name) {
  int code = station::modelCodeForName(name);
  if (code < 0 && name.size() == 1 && name[0] >= '0' && name[0] <= '6') code = name[0] - '0';
  if (code < 0) return platform::Status::badArgument(text(kMsgUnknownModel, name));
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
      return platform::Status::badArgument(text(kMsgBadPort, o.port));
    }
    s.comPort = n;  // the station's settings refuse a number outside 1-18
  }
  if (o.baud != 0) s.baudRate = o.baud;
  for (auto [given, field] :
       {std::pair{&o.modem, &s.useModem}, std::pair{&o.pulse, &s.pulseDial}}) {
    if (given->empty()) continue;
    auto v = onOff(*given);
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
    if (!sensor) return platform::Status::badArgument(text(kMsgUnknownSensor, item.substr(0, eq)));
    auto on = eq == std::string::npos ? platform::Result<bool>(true) : onOff(item.substr(eq + 1));
    if (!on.isOk()) return on.status();
    s.sensors.emplace_back(*sensor, *on);
  }
  return s;
}

void addCreate(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("create", helpText(kHelpCreate));
  cmd->add_option("--name", o->name, helpText(kHelpCreateName))->required();
  cmd->add_option("--parent", o->parent, helpText(kHelpParent));
  cmd->add_option("--model", o->model, helpText(kHelpCreateModel));
  cmd->add_flag("--use-existing", o->useExisting, helpText(kHelpUseExisting));
  addProgramDirOption(cmd, o->choice.programDir);
  cmd->callback([&ctx, o] {
    station::NewStation request{
        o->name, o->parent.empty() ? programDirectory(o->choice.programDir) : o->parent, 5};
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
  auto* cmd = group.add_subcommand("show", helpText(kHelpShow));
  addStationOptions(cmd, o->choice);
  cmd->callback([&ctx, o] {
    auto st = loadNamedStation(ctx, o->choice);
    if (!st) return;
    *ctx.out << station::describeStation(*st, userConventions(ctx, o->choice.programDir).units);
    auto units = frame::describeUnits(*ctx.env.files, programDirectory(o->choice.programDir));
    if (units.isOk()) *ctx.out << *units << "\n";
    ctx.exitCode = kExitOk;
  });
}

void addSet(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("set", helpText(kHelpSet));
  addStationOptions(cmd, o->choice);
  cmd->add_option("--name", o->name, helpText(kHelpSetName));
  cmd->add_flag("--rename-directory", o->renameDirectory, helpText(kHelpRenameDirectory));
  cmd->add_option("--model", o->model, helpText(kHelpSetModel));
  cmd->add_option("--port", o->port, helpText(kHelpPort));
  cmd->add_option("--baud", o->baud, helpText(kHelpBaud));
  cmd->add_option("--modem", o->modem, helpText(kHelpModem));
  cmd->add_option("--pulse", o->pulse, helpText(kHelpPulse));
  cmd->add_option("--phone", o->phone, helpText(kHelpPhone));
  cmd->add_option("--modem-init", o->modemInit, helpText(kHelpModemInit));
  cmd->add_option("--connect-wait", o->connectWait, helpText(kHelpConnectWait));
  cmd->add_option("--timeout", o->timeoutMinutes, helpText(kHelpTimeout));
  cmd->add_option("--latitude", o->latitude, helpText(kHelpLatitude));
  cmd->add_option("--longitude", o->longitude, helpText(kHelpLongitude));
  cmd->add_option("--sensor", o->sensors, helpText(kHelpSensor));
  cmd->add_option("--temperature-unit", o->temperatureUnit, helpText(kHelpTemperatureUnit));
  cmd->add_option("--barometer-unit", o->barometerUnit, helpText(kHelpBarometerUnit));
  cmd->add_option("--wind-unit", o->windUnit, helpText(kHelpWindUnit));
  cmd->add_option("--rain-unit", o->rainUnit, helpText(kHelpRainUnit));
  cmd->add_option("--elevation-unit", o->elevationUnit, helpText(kHelpElevationUnit));
  cmd->callback([&ctx, o] {
    // A running program would write its own copy back: it makes the change itself.
    if (auto code = runInRunningProgram(ctx, o->choice.programDir)) {
      ctx.exitCode = *code;
      return;
    }
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
    for (auto [given, field] :
         {std::pair{&o->temperatureUnit, &units.temperature},
          std::pair{&o->barometerUnit, &units.barometer}, std::pair{&o->windUnit, &units.wind},
          std::pair{&o->rainUnit, &units.rain}, std::pair{&o->elevationUnit, &units.elevation}}) {
      if (!given->empty()) *field = *given;
    }
    if (units.any()) {
      if (platform::Status s = frame::applyUnitChoices(*ctx.env.files, programDir, units);
          !s.isOk()) {
        return void(ctx.exitCode = fail(ctx, s));
      }
    }
    *ctx.out << station::describeStation(*st, userConventions(ctx, programDir).units);
    ctx.exitCode = kExitOk;
  });
}

void addLists(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("lists", helpText(kHelpLists));
  addStationOptions(cmd, o->choice);
  cmd->callback([&ctx, o] {
    auto st = loadNamedStation(ctx, o->choice);
    if (!st) return;
    *ctx.out << station::describeDataLists(*st);
    ctx.exitCode = kExitOk;
  });
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
  auto* cmd = group.add_subcommand("print", helpText(kHelpPrint));
  addStationOptions(cmd, o->choice);
  cmd->add_option("--list", p->list, helpText(kHelpList));
  cmd->add_option("--limit", p->limit, helpText(kHelpLimit));
  cmd->add_option("--first-column", p->first, helpText(kHelpFirstColumn));
  cmd->add_option("--separator", p->separator, helpText(kHelpSeparator));
  cmd->add_option("--from", p->from, helpText(kHelpFrom));
  cmd->add_option("--to", p->to, helpText(kHelpTo));
  cmd->callback([&ctx, o, p] {
    if (p->separator.size() > 1) {
      return void(ctx.exitCode = fail(ctx, platform::Status::badArgument(
                                               platform::loadString(kMsgSeparatorOneCharacter))));
    }
    const quantities::UserConventions conventions = userConventions(ctx, o->choice.programDir);
    // A day left out bounds nothing (0).
    std::int32_t days[2] = {0, 0};
    for (auto [option, given, day] :
         {std::tuple{"--from", &p->from, &days[0]}, std::tuple{"--to", &p->to, &days[1]}}) {
      if (given->empty()) continue;
      auto date = dateArgument(ctx, conventions, option, *given);
      if (!date) return;
      *day = records::DateTime::fromDate(date->year, date->month, date->day).packed();
    }
    auto st = loadNamedStation(ctx, o->choice);
    if (!st) return;
    const station::ListingRequest request{p->list,  p->limit,
                                          p->first, p->separator.empty() ? '\0' : p->separator[0],
                                          days[0],  days[1]};
    platform::Status s = station::printRecords(*ctx.env.files, *st, request, conventions, *ctx.out);
    ctx.exitCode = s.isOk() ? kExitOk : fail(ctx, s);
  });
}

void addDelete(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  constexpr int kMsgDeleteNotConfirmed = 64484;
  constexpr int kMsgStationDeleted = 64485;
  auto yes = std::make_shared<bool>(false);
  auto* cmd = group.add_subcommand("delete", helpText(kHelpDelete));
  // Never the only or the last station by default: a deletion names what it deletes.
  addStationOptions(cmd, o->choice);
  cmd->get_option("--station")->required();
  cmd->add_flag("--yes", *yes, helpText(kHelpDeleteYes));
  cmd->callback([&ctx, o, yes] {
    if (auto code = runInRunningProgram(ctx, o->choice.programDir)) {
      ctx.exitCode = *code;
      return;
    }
    // The station is not opened: one whose settings no longer read can still be deleted,
    // named by its directory; a display name goes through the station list.
    const std::string programDir = programDirectory(o->choice.programDir);
    const std::string given = frame::resolveStationName(o->choice.station, programDir);
    if (ctx.env.files->isDirectory(given)) {
      o->choice.station = given;
    } else if (!resolveStation(ctx, o->choice)) {
      return;
    }
    const std::string dir = o->choice.station;
    ctx.exitCode =
        withStationProgram(ctx, programDir, {}, [&](frame::Program& program) {
          platform::Status s = program.deleteStation(dir, *yes);
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
  auto* group = app.add_subcommand("station", helpText(kHelpGroup));
  group->require_subcommand(1);
  addCreate(*group, ctx, options);
  addShow(*group, ctx, options);
  addSet(*group, ctx, options);
  addLists(*group, ctx, options);
  addPrint(*group, ctx, options);
  addDelete(*group, ctx, options);
}

}  // namespace cli
