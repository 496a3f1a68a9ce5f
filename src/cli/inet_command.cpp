// stratalog inet show|set: the station's internet settings (FTP, local copy, proxy).
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "cli/publish_secret.h"
#include "platform/string_table.h"
#include "publish/inet_config.h"
#include "publish/inet_settings.h"
#include "publish/upload_text.h"

namespace cli {

namespace {

constexpr int kHelpGroup = 66532;
constexpr int kHelpShow = 66533;
constexpr int kHelpSet = 66534;
constexpr int kHelpHost = 66535;
constexpr int kHelpUser = 66536;
constexpr int kHelpPassword = 66537;
constexpr int kHelpFtpPath = 66538;
constexpr int kHelpLocalPath = 66539;
constexpr int kHelpPort = 66540;
constexpr int kHelpPassive = 66541;
constexpr int kHelpInternet = 66542;
constexpr int kHelpLocal = 66543;
constexpr int kHelpAccess = 66544;
constexpr int kHelpProxy = 66545;
constexpr int kHelpLocalNetwork = 66546;
constexpr int kHelpStayConnected = 66547;
constexpr int kMsgBadSwitch = 66568;
constexpr int kMsgBadAccess = 66577;
constexpr int kMsgNoPassword = 66578;

struct Options {
  StationChoice choice;
  std::string host, user, ftpPath, localPath, proxy, access;
  std::string passive, internet, local, localNetwork, stayConnected;
  long port = 0;
  bool password = false;
  CLI::App* set = nullptr;
};

bool given(const CLI::App* cmd, const char* option) { return cmd->count(option) > 0; }

// The configuration of the station, or nothing after saying why.
std::optional<publish::InetConfig> loadConfig(CommandContext& ctx, const std::string& command,
                                              const std::string& stationDir) {
  auto loaded = publish::loadInetConfig(*ctx.env.files, stationDir);
  if (!loaded) {
    ctx.exitCode = reportFailure(ctx, command, loaded.status());
    return std::nullopt;
  }
  return loaded->config;
}

// Reads the changes the options ask for; false after a usage error.
bool changesOf(CommandContext& ctx, const Options& o, publish::InetChanges& c) {
  const CLI::App* cmd = o.set;
  const char* command = "inet set";
  if (given(cmd, "--host")) c.host = o.host;
  if (given(cmd, "--user")) c.user = o.user;
  if (given(cmd, "--ftp-path")) c.ftpPath = o.ftpPath;
  if (given(cmd, "--local-path")) c.localPath = o.localPath;
  if (given(cmd, "--proxy")) c.proxy = o.proxy;
  if (given(cmd, "--port")) c.port = o.port;
  struct Switch {
    const char* option;
    const std::string& value;
    std::optional<bool>& into;
  };
  const Switch switches[] = {
      {"--passive", o.passive, c.passive},
      {"--internet", o.internet, c.internetTransfer},
      {"--local", o.local, c.localTransfer},
      {"--local-network", o.localNetwork, c.localNetwork},
      {"--stay-connected", o.stayConnected, c.stayConnected},
  };
  for (const Switch& s : switches) {
    if (!given(cmd, s.option)) continue;
    s.into = publish::parseOnOff(s.value);
    if (!s.into) {
      usageError(ctx, command, publish::message(kMsgBadSwitch, {s.option, s.value}));
      return false;
    }
  }
  if (given(cmd, "--access")) {
    c.access = publish::parseAccess(o.access);
    if (!c.access) {
      usageError(ctx, command, publish::message(kMsgBadAccess, {o.access}));
      return false;
    }
  }
  if (o.password) {
    // Never an argument: it would stand in the process list and the shell's history.
    std::optional<std::string> line = readSecretLine(ctx);
    if (!line) {
      usageError(ctx, command, platform::loadString(kMsgNoPassword));
      return false;
    }
    c.password = *line;
  }
  return true;
}

}  // namespace

void addInetCommands(CLI::App& app, CommandContext& ctx) {
  auto* group = app.add_subcommand("inet", helpText(kHelpGroup));
  group->require_subcommand(1);
  auto o = std::make_shared<Options>();

  auto* show = group->add_subcommand("show", helpText(kHelpShow));
  addStationOptions(show, o->choice);
  show->callback([&ctx, o] {
    if (!resolveStation(ctx, o->choice)) return;
    auto config = loadConfig(ctx, "inet show", o->choice.station);
    if (!config) return;
    *ctx.out << publish::describeInetConfig(*config);
    ctx.exitCode = kExitOk;
  });

  auto* set = group->add_subcommand("set", helpText(kHelpSet));
  o->set = set;
  addStationOptions(set, o->choice);
  set->add_option("--host", o->host, helpText(kHelpHost));
  set->add_option("--user", o->user, helpText(kHelpUser));
  set->add_flag("--password", o->password, helpText(kHelpPassword));
  set->add_option("--ftp-path", o->ftpPath, helpText(kHelpFtpPath));
  set->add_option("--local-path", o->localPath, helpText(kHelpLocalPath));
  set->add_option("--port", o->port, helpText(kHelpPort));
  set->add_option("--passive", o->passive, helpText(kHelpPassive));
  set->add_option("--internet", o->internet, helpText(kHelpInternet));
  set->add_option("--local", o->local, helpText(kHelpLocal));
  set->add_option("--access", o->access, helpText(kHelpAccess));
  set->add_option("--proxy", o->proxy, helpText(kHelpProxy));
  set->add_option("--local-network", o->localNetwork, helpText(kHelpLocalNetwork));
  set->add_option("--stay-connected", o->stayConnected, helpText(kHelpStayConnected));
  set->callback([&ctx, o] {
    if (!resolveStation(ctx, o->choice)) return;
    publish::InetChanges changes;
    if (!changesOf(ctx, *o, changes)) return;
    auto config = loadConfig(ctx, "inet set", o->choice.station);
    if (!config) return;
    if (platform::Status s = publish::applyInetChanges(*config, changes); !s) {
      ctx.exitCode = reportFailure(ctx, "inet set", s);
      return;
    }
    if (platform::Status s = publish::saveInetConfig(*ctx.env.files, o->choice.station, *config);
        !s) {
      ctx.exitCode = reportFailure(ctx, "inet set", s);
      return;
    }
    *ctx.out << publish::describeInetConfig(*config);
    ctx.exitCode = kExitOk;
  });
}

}  // namespace cli
