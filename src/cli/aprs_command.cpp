// stratalog aprs: the station's APRS settings, and one report sent now.
#include <CLI/CLI.hpp>
#include <charconv>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "cli/publish_secret.h"
#include "frame/internet_reports.h"
#include "frame/link_error_table.h"
#include "frame/program.h"
#include "link/current_conditions.h"
#include "platform/string_table.h"
#include "publish/aprs_report.h"
#include "publish/publish_text.h"
#include "station/station_file.h"

namespace cli {

namespace {

constexpr int kHelpGroup = 66710;
constexpr int kHelpShow = 66711;
constexpr int kHelpSet = 66712;
constexpr int kHelpSend = 66713;
constexpr int kHelpCallSign = 66714;
constexpr int kHelpServer = 66715;
constexpr int kHelpPort = 66716;
constexpr int kHelpLogin = 66717;
constexpr int kHelpPrint = 66718;
constexpr int kMsgShow = 66719;
constexpr int kMsgSet = 66720;
constexpr int kMsgNotSet = 66721;
constexpr int kMsgBadCallSign = 66722;
constexpr int kMsgBadPort = 66723;
constexpr int kMsgBadLogin = 66724;
constexpr int kMsgNoSecret = 66725;
constexpr int kMsgSent = 66726;
constexpr int kMsgNotSent = 66727;
constexpr int kMsgNoLink = 66728;
constexpr int kMsgNoConditions = 66729;

// The daily rain total code of a day's summary.

struct Options {
  StationChoice choice;
  std::string callSign, server, port;
  bool readLogin = false;
  bool print = false;
};

std::string locationText(const station::StationConfig& c) {
  if (!c.locationSet()) return platform::loadString(kMsgNotSet);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d %d' %d\" %c  %d %d' %d\" %c", c.latDeg(), c.latMin(),
                c.latSec(), c.latSouth() ? 'S' : 'N', c.lonDeg(), c.lonMin(), c.lonSec(),
                c.lonWest() ? 'W' : 'E');
  return buf;
}

void addShow(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("show", helpText(kHelpShow));
  addStationOptions(cmd, o->choice);
  cmd->callback([&ctx, o] {
    if (!resolveStation(ctx, o->choice)) return;
    auto config = station::readStationRecord(*ctx.env.files, o->choice.station);
    if (!config) return void(ctx.exitCode = reportFailure(ctx, "aprs show", config.status()));
    const std::string login =
        platform::loadString(config->aprsLogin().empty() ? kMsgNotSet : kMsgSet);
    *ctx.out << publish::formatText(kMsgShow, config->aprsCallSign().c_str(),
                                    config->aprsServer().c_str(), config->aprsPort(), login.c_str(),
                                    locationText(*config).c_str());
    ctx.exitCode = kExitOk;
  });
}

void addSet(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("set", helpText(kHelpSet));
  addStationOptions(cmd, o->choice);
  cmd->add_option("--call-sign", o->callSign, helpText(kHelpCallSign));
  cmd->add_option("--server", o->server, helpText(kHelpServer));
  cmd->add_option("--port", o->port, helpText(kHelpPort));
  cmd->add_flag("--login-from-stdin", o->readLogin, helpText(kHelpLogin));
  cmd->callback([&ctx, o] {
    // Everything is checked before anything is written, so a refusal leaves the file alone.
    std::optional<std::string> callSign;
    if (!o->callSign.empty()) {
      callSign = publish::normalisedCallSign(o->callSign);
      if (!callSign)
        return usageError(ctx, "aprs set",
                          publish::formatText(kMsgBadCallSign, o->callSign.c_str()));
    }
    std::optional<std::uint32_t> port;
    if (!o->port.empty()) {
      auto n = digitsArgument(o->port);
      if (!n || *n < 1 || *n > 65535)
        return usageError(ctx, "aprs set", publish::formatText(kMsgBadPort, o->port.c_str()));
      port = static_cast<std::uint32_t>(*n);
    }
    if (o->server.size() > 29 || o->server.find(' ') != std::string::npos)
      return usageError(ctx, "aprs set", helpText(kHelpServer));
    std::optional<std::string> login;
    if (o->readLogin) {
      login = readSecretLine(ctx);
      if (!login) return usageError(ctx, "aprs set", platform::loadString(kMsgNoSecret));
      if (!publish::validAprsLogin(*login) || login->size() > 30)
        return usageError(ctx, "aprs set", platform::loadString(kMsgBadLogin));
    }
    if (!resolveStation(ctx, o->choice)) return;
    auto config = station::readStationRecord(*ctx.env.files, o->choice.station);
    if (!config) return void(ctx.exitCode = reportFailure(ctx, "aprs set", config.status()));
    if (callSign) config->setAprsCallSign(*callSign);
    if (!o->server.empty()) config->setAprsServer(o->server);
    if (port) config->setAprsPort(*port);
    if (login) config->setAprsLogin(*login);
    if (platform::Status s =
            station::writeStationRecord(*ctx.env.files, *config, o->choice.station);
        !s.isOk())
      return void(ctx.exitCode = reportFailure(ctx, "aprs set", s));
    ctx.exitCode = kExitOk;
  });
}

void addSend(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("send", helpText(kHelpSend));
  addStationOptions(cmd, o->choice);
  cmd->add_flag("--print", o->print, helpText(kHelpPrint));
  cmd->callback([&ctx, o] {
    runConsoleCommand(ctx, o->choice, [&](frame::Program& program) {
      const station::StationConfig* config = program.currentStation();
      stationlink::ConsoleLink* link = program.stations().stationLink();
      if (config == nullptr || link == nullptr)
        return commandFailure(ctx, "aprs send", platform::loadString(kMsgNoLink), kExitFailed);
      auto image = stationlink::readCurrentConditions(*link);
      if (!image) {
        return commandFailure(
            ctx, "aprs send",
            publish::formatText(kMsgNoConditions,
                                std::string(frame::linkErrorText(image.status().code())).c_str()),
            kExitFailed);
      }
      if (o->print) {
        const frame::AprsExtras extras = frame::gatherAprsExtras(program);
        const publish::AprsInputs in{*config,
                                     *image,
                                     extras.wind,
                                     extras.barometerData,
                                     extras.todayRainInches,
                                     program.clock().toUtc(program.clock().wallNow())};
        auto report = publish::BuildAprsReport(in);
        if (!report)
          return commandFailure(ctx, "aprs send", platform::loadString(28069), kExitFailed);
        *ctx.out << report->packet << "\n";
        return kExitOk;
      }
      if (!frame::sendAprsFromProgram(program, *image))
        return commandFailure(ctx, "aprs send", platform::loadString(kMsgNotSent), kExitFailed);
      *ctx.out << platform::loadString(kMsgSent) << "\n";
      return kExitOk;
    });
  });
}

}  // namespace

void addAprsCommands(CLI::App& app, CommandContext& ctx) {
  auto o = std::make_shared<Options>();
  auto* group = app.add_subcommand("aprs", helpText(kHelpGroup));
  group->require_subcommand(1);
  addShow(*group, ctx, o);
  addSet(*group, ctx, o);
  addSend(*group, ctx, o);
}

}  // namespace cli
