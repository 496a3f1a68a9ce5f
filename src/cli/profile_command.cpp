// stratalog profile show|set|add-file|remove-file N: the station's upload profiles.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "publish/inet_config.h"
#include "publish/inet_settings.h"
#include "publish/profile_list.h"
#include "publish/profile_settings.h"
#include "publish/upload_text.h"

namespace cli {

namespace {

constexpr int kHelpGroup = 66548;
constexpr int kHelpShow = 66549;
constexpr int kHelpSet = 66550;
constexpr int kHelpAddFile = 66551;
constexpr int kHelpRemoveFile = 66552;
constexpr int kHelpNumber = 66553;
constexpr int kHelpPath = 66554;
constexpr int kHelpName = 66555;
constexpr int kHelpEnabled = 66556;
constexpr int kHelpInterval = 66557;
constexpr int kHelpStart = 66558;
constexpr int kHelpPageDir = 66559;
constexpr int kHelpCurrentImageDir = 66560;
constexpr int kHelpHistoryImageDir = 66561;
constexpr int kHelpReportDir = 66562;
constexpr int kHelpExtension = 66563;
constexpr int kHelpReports = 66564;
constexpr int kHelpDownloadFirst = 66565;
constexpr int kMsgBadSwitch = 66568;
constexpr int kMsgBadNumber = 66574;
constexpr int kMsgBadTime = 66575;

struct Options {
  StationChoice choice;
  std::string number;
  std::string path;
  std::string name, pageDir, currentImageDir, historyImageDir, reportDir, extension;
  std::string enabled, downloadFirst, start, reports;
  long interval = 0;
};

bool given(const CLI::App* cmd, const char* option) { return cmd->count(option) > 0; }

// The profile index 0-7 of the number given, or nothing after a usage error.
std::optional<int> profileIndex(CommandContext& ctx, const std::string& command,
                                const std::string& number) {
  const auto n = digitsArgument(number);
  if (!n || *n < 1 || *n > publish::kProfileCount) {
    usageError(ctx, command, publish::message(kMsgBadNumber, {number}));
    return std::nullopt;
  }
  return *n - 1;
}

std::optional<publish::InetConfig> loadConfig(CommandContext& ctx, const std::string& command,
                                              const std::string& stationDir) {
  auto loaded = publish::loadInetConfig(*ctx.env.files, stationDir);
  if (!loaded) {
    ctx.exitCode = reportFailure(ctx, command, loaded.status());
    return std::nullopt;
  }
  return loaded->config;
}

bool changesOf(CommandContext& ctx, const CLI::App* cmd, const Options& o,
               publish::ProfileChanges& c) {
  const char* command = "profile set";
  if (given(cmd, "--name")) c.name = o.name;
  if (given(cmd, "--page-dir")) c.pageDir = o.pageDir;
  if (given(cmd, "--current-image-dir")) c.currentImageDir = o.currentImageDir;
  if (given(cmd, "--history-image-dir")) c.historyImageDir = o.historyImageDir;
  if (given(cmd, "--report-dir")) c.reportDir = o.reportDir;
  if (given(cmd, "--extension")) c.extension = o.extension;
  if (given(cmd, "--interval")) c.interval = o.interval;
  for (auto [option, value, into] :
       {std::tuple{"--enabled", &o.enabled, &c.enabled},
        std::tuple{"--download-first", &o.downloadFirst, &c.downloadFirst}}) {
    if (!given(cmd, option)) continue;
    *into = publish::parseOnOff(*value);
    if (!*into) {
      usageError(ctx, command, publish::message(kMsgBadSwitch, {option, *value}));
      return false;
    }
  }
  if (given(cmd, "--start")) {
    c.startMinute = publish::parseMinuteOfDay(o.start);
    if (!c.startMinute) {
      usageError(ctx, command, publish::message(kMsgBadTime, {o.start}));
      return false;
    }
  }
  if (given(cmd, "--reports")) {
    auto bits = publish::parseReports(o.reports);
    if (!bits) {
      usageError(ctx, command, bits.status().message());
      return false;
    }
    c.reports = *bits;
  }
  return true;
}

int minuteNow(const CommandContext& ctx) {
  const platform::CivilTime now = ctx.env.clock->localNow();
  return now.hour * 60 + now.minute;
}

void addShow(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("show", helpText(kHelpShow));
  addStationOptions(cmd, o->choice);
  cmd->add_option("numero", o->number, helpText(kHelpNumber))->required();
  cmd->callback([&ctx, o] {
    const auto k = profileIndex(ctx, "profile show", o->number);
    if (!k || !resolveStation(ctx, o->choice)) return;
    auto config = loadConfig(ctx, "profile show", o->choice.station);
    if (!config) return;
    const publish::UploadProfile p = config->profile(*k);
    auto list = publish::readProfileList(*ctx.env.files, o->choice.station, p);
    if (!list) return void(ctx.exitCode = reportFailure(ctx, "profile show", list.status()));
    *ctx.out << publish::describeProfile(p, *k, *list, minuteNow(ctx));
    ctx.exitCode = kExitOk;
  });
}

void addSet(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("set", helpText(kHelpSet));
  addStationOptions(cmd, o->choice);
  cmd->add_option("numero", o->number, helpText(kHelpNumber))->required();
  cmd->add_option("--name", o->name, helpText(kHelpName));
  cmd->add_option("--enabled", o->enabled, helpText(kHelpEnabled));
  cmd->add_option("--interval", o->interval, helpText(kHelpInterval));
  cmd->add_option("--start", o->start, helpText(kHelpStart));
  cmd->add_option("--page-dir", o->pageDir, helpText(kHelpPageDir));
  cmd->add_option("--current-image-dir", o->currentImageDir, helpText(kHelpCurrentImageDir));
  cmd->add_option("--history-image-dir", o->historyImageDir, helpText(kHelpHistoryImageDir));
  cmd->add_option("--report-dir", o->reportDir, helpText(kHelpReportDir));
  cmd->add_option("--extension", o->extension, helpText(kHelpExtension));
  cmd->add_option("--reports", o->reports, helpText(kHelpReports));
  cmd->add_option("--download-first", o->downloadFirst, helpText(kHelpDownloadFirst));
  cmd->callback([&ctx, o, cmd] {
    const auto k = profileIndex(ctx, "profile set", o->number);
    if (!k || !resolveStation(ctx, o->choice)) return;
    publish::ProfileChanges changes;
    if (!changesOf(ctx, cmd, *o, changes)) return;
    auto config = loadConfig(ctx, "profile set", o->choice.station);
    if (!config) return;
    if (platform::Status s = publish::applyProfileChanges(*config, *k, changes); !s) {
      return void(ctx.exitCode = reportFailure(ctx, "profile set", s));
    }
    if (platform::Status s = publish::saveInetConfig(*ctx.env.files, o->choice.station, *config);
        !s) {
      return void(ctx.exitCode = reportFailure(ctx, "profile set", s));
    }
    const publish::UploadProfile p = config->profile(*k);
    auto list = publish::readProfileList(*ctx.env.files, o->choice.station, p);
    *ctx.out << publish::describeProfile(p, *k, list ? *list : publish::ProfileList{},
                                         minuteNow(ctx));
    ctx.exitCode = kExitOk;
  });
}

void addFileCommand(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o,
                    const char* name, int help, bool adding) {
  auto* cmd = group.add_subcommand(name, helpText(help));
  addStationOptions(cmd, o->choice);
  cmd->add_option("numero", o->number, helpText(kHelpNumber))->required();
  cmd->add_option("ruta", o->path, helpText(kHelpPath))->required();
  const std::string command = std::string("profile ") + name;
  cmd->callback([&ctx, o, adding, command] {
    const auto k = profileIndex(ctx, command, o->number);
    if (!k || !resolveStation(ctx, o->choice)) return;
    auto config = loadConfig(ctx, command, o->choice.station);
    if (!config) return;
    // The list keeps full paths: the run may start from any directory.
    std::error_code ec;
    const std::filesystem::path abs = std::filesystem::absolute(o->path, ec);
    const std::string path = ec ? o->path : abs.lexically_normal().string();
    std::string done;
    const publish::UploadProfile p = config->profile(*k);
    platform::Status s =
        adding ? publish::addProfileFile(*ctx.env.files, o->choice.station, p, *k, path, done)
               : publish::removeProfileFile(*ctx.env.files, o->choice.station, p, *k, path, done);
    if (!s) return void(ctx.exitCode = reportFailure(ctx, command, s));
    *ctx.out << done << "\n";
    ctx.exitCode = kExitOk;
  });
}

}  // namespace

void addProfileCommands(CLI::App& app, CommandContext& ctx) {
  auto* group = app.add_subcommand("profile", helpText(kHelpGroup));
  group->require_subcommand(1);
  addShow(*group, ctx, std::make_shared<Options>());
  addSet(*group, ctx, std::make_shared<Options>());
  addFileCommand(*group, ctx, std::make_shared<Options>(), "add-file", kHelpAddFile, true);
  addFileCommand(*group, ctx, std::make_shared<Options>(), "remove-file", kHelpRemoveFile, false);
  addProfileImagesCommand(*group, ctx);
}

}  // namespace cli
