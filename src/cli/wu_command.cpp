// stratalog wu: the station's Weather Underground settings, and the waiting records sent now.
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "cli/publish_secret.h"
#include "database/weather_database.h"
#include "frame/internet_reports.h"
#include "frame/program.h"
#include "platform/string_table.h"
#include "publish/publish_text.h"
#include "publish/wu_update.h"
#include "quantities/date_text.h"
#include "station/station_file.h"

namespace cli {

namespace {

constexpr int kMsgDone = 28061;
constexpr int kMsgStopped = 28062;
constexpr int kHelpGroup = 66740;
constexpr int kHelpShow = 66741;
constexpr int kHelpSet = 66742;
constexpr int kHelpSend = 66743;
constexpr int kHelpId = 66744;
constexpr int kHelpPassword = 66745;
constexpr int kHelpMaxDays = 66746;
constexpr int kMsgShow = 66747;
constexpr int kMsgNone = 66748;
constexpr int kMsgBadId = 66749;
constexpr int kMsgBadPassword = 66750;
constexpr int kMsgBadMaxDays = 66751;
constexpr int kMsgHours = 66752;
constexpr int kMsgDays = 66753;
constexpr int kMsgNoDatabase = 66754;
constexpr int kMsgSet = 66720;
constexpr int kMsgNotSet = 66721;
constexpr int kMsgNoSecret = 66725;

constexpr std::size_t kIdLimit = 20;
constexpr std::size_t kPasswordLimit = 64;

struct Options {
  StationChoice choice;
  std::optional<std::string> id;
  std::string maxDays;
  bool readPassword = false;
};

bool printable(std::string_view s, bool blanks) {
  for (unsigned char ch : s) {
    if (ch < 0x20 || ch == 0x7F || (!blanks && ch == ' ')) return false;
  }
  return true;
}

std::string lastSentText(const station::StationConfig& c, const platform::IntlSettings& intl) {
  const int stamp = c.wuLastDate();
  if (stamp < 0) return platform::loadString(kMsgNone);
  records::DateTime d =
      records::DateTime::fromDate(stamp / 512 + 2000, (stamp / 32) % 16, stamp % 32);
  return quantities::shortDateText(d, intl) + " " +
         quantities::recordTimeText(static_cast<int>(c.wuLastTime()), intl);
}

void addShow(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("show", helpText(kHelpShow));
  addStationOptions(cmd, o->choice);
  cmd->callback([&ctx, o] {
    if (!resolveStation(ctx, o->choice)) return;
    auto config = station::readStationRecord(*ctx.env.files, o->choice.station);
    if (!config) return void(ctx.exitCode = reportFailure(ctx, "wu show", config.status()));
    const quantities::UserConventions conventions = userConventions(ctx, o->choice.programDir);
    database::WeatherDatabase db(*ctx.env.files);
    int waiting = 0;
    if (db.openReadOnly(o->choice.station) == 0)
      waiting =
          static_cast<int>(publish::selectWuRecords(*config, db, ctx.env.clock->localNow()).size());
    const int choice = config->wuMaxDaysChoice();
    const std::string days = choice >= 1 && choice <= 30 ? publish::formatText(kMsgDays, choice)
                                                         : platform::loadString(kMsgHours);
    const std::string password =
        platform::loadString(config->wuPassword().empty() ? kMsgNotSet : kMsgSet);
    *ctx.out << publish::formatText(kMsgShow, config->wuStationId().c_str(), password.c_str(),
                                    days.c_str(), lastSentText(*config, conventions.intl).c_str(),
                                    waiting);
    ctx.exitCode = kExitOk;
  });
}

void addSet(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("set", helpText(kHelpSet));
  addStationOptions(cmd, o->choice);
  cmd->add_option("--id", o->id, helpText(kHelpId));
  cmd->add_flag("--password-from-stdin", o->readPassword, helpText(kHelpPassword));
  cmd->add_option("--max-days", o->maxDays, helpText(kHelpMaxDays));
  cmd->callback([&ctx, o] {
    if (o->id && (o->id->size() > kIdLimit || !printable(*o->id, false)))
      return usageError(ctx, "wu set", publish::formatText(kMsgBadId, o->id->c_str()));
    std::optional<int> maxDays;
    if (!o->maxDays.empty()) {
      maxDays = digitsArgument(o->maxDays);
      if (!maxDays || *maxDays > 30)
        return usageError(ctx, "wu set", publish::formatText(kMsgBadMaxDays, o->maxDays.c_str()));
    }
    std::optional<std::string> password;
    if (o->readPassword) {
      password = readSecretLine(ctx);
      if (!password) return usageError(ctx, "wu set", platform::loadString(kMsgNoSecret));
      if (password->size() > kPasswordLimit || !printable(*password, true))
        return usageError(ctx, "wu set", platform::loadString(kMsgBadPassword));
    }
    if (!resolveStation(ctx, o->choice)) return;
    auto config = station::readStationRecord(*ctx.env.files, o->choice.station);
    if (!config) return void(ctx.exitCode = reportFailure(ctx, "wu set", config.status()));
    if (o->id) config->setWuStationId(*o->id);
    if (password) config->setWuPassword(*password);
    if (maxDays) config->setWuMaxDaysChoice(static_cast<std::uint8_t>(*maxDays));
    if (platform::Status s =
            station::writeStationRecord(*ctx.env.files, *config, o->choice.station);
        !s.isOk())
      return void(ctx.exitCode = reportFailure(ctx, "wu set", s));
    ctx.exitCode = kExitOk;
  });
}

void addSend(CLI::App& group, CommandContext& ctx, std::shared_ptr<Options> o) {
  auto* cmd = group.add_subcommand("send", helpText(kHelpSend));
  addStationOptions(cmd, o->choice);
  cmd->callback([&ctx, o] {
    runConsoleCommand(ctx, o->choice, [&](frame::Program& program) {
      if (program.currentStation() == nullptr || program.stations().database() == nullptr)
        return commandFailure(ctx, "wu send", platform::loadString(kMsgNoDatabase), kExitFailed);
      const publish::WuOutcome outcome = frame::sendWuFromProgram(
          program, [&](std::string_view line) { *ctx.out << line << "\n"; });
      if (!outcome.ok)
        return commandFailure(ctx, "wu send", platform::loadString(kMsgStopped), kExitFailed);
      *ctx.out << platform::loadString(kMsgDone) << "\n";
      return kExitOk;
    });
  });
}

}  // namespace

void addWuCommands(CLI::App& app, CommandContext& ctx) {
  auto o = std::make_shared<Options>();
  auto* group = app.add_subcommand("wu", helpText(kHelpGroup));
  group->require_subcommand(1);
  addShow(*group, ctx, o);
  addSet(*group, ctx, o);
  addSend(*group, ctx, o);
}

}  // namespace cli
