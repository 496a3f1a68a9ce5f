#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/cli.h"
#include "database/rain_build.h"
#include "database/rain_database.h"
#include "database/rain_view.h"
#include "database/summary_rebuild.h"
#include "database/summary_view.h"
#include "database/weather_database.h"
#include "frame/messages.h"
#include "platform/string_table.h"

namespace cli {

namespace {

constexpr int kMsgRainNotCreated = 61591;
constexpr int kHelpSummary = 64740;
constexpr int kHelpRebuild = 64741;
constexpr int kHelpOnlyDay = 64742;
constexpr int kHelpShow = 64743;
constexpr int kHelpDate = 64707;
constexpr int kMsgRebuiltDay = 64744;
constexpr int kMsgRebuiltDays = 64745;
constexpr int kMsgNotRebuilt = 64746;
constexpr int kMsgNoSummary = 64747;
constexpr int kHelpRain = 64748;
constexpr int kHelpRainBuild = 64749;
constexpr int kHelpReplace = 64750;
constexpr int kHelpRainShow = 64751;
constexpr int kMsgRainExists = 64752;
constexpr int kMsgRainBuilt = 64753;
constexpr int kOneYear = 64754;
constexpr int kYears = 64755;
constexpr int kMsgRainUnreadable = 64756;
constexpr int kOneDay = 64723;
constexpr int kDays = 64724;
constexpr int kMsgLeftOut = 64807;

struct SummaryOptions {
  StationChoice choice;
  std::string date;
  bool replace = false;
};

std::string text(int id, std::initializer_list<std::string_view> args) {
  return frame::fillText(platform::loadString(id), args);
}

std::string count(long long n, int one, int many) {
  return n == 1 ? platform::loadString(one) : text(many, {std::to_string(n)});
}

void fail(CommandContext& ctx, const char* command, const std::string& what) {
  *ctx.err << "stratalog " << command << ": " << what << "\n";
  ctx.exitCode = kExitFailed;
}

// Opens the station's database; a view opens it read-only, so a station on read-only media
// or of another user shows whole.
bool openStation(CommandContext& ctx, SummaryOptions& o, database::WeatherDatabase& db,
                 bool readOnly = false) {
  if (!resolveDataStation(ctx, o.choice)) return false;
  (void)(readOnly ? db.openReadOnly(o.choice.station) : db.open(o.choice.station));
  for (const std::string& p : db.problems()) *ctx.err << text(kMsgLeftOut, {p}) << "\n";
  return true;
}

// A day as the user writes dates.
std::string dayText(const quantities::Date& d, const quantities::UserConventions& c) {
  return quantities::shortDateText(records::DateTime::fromDate(d.year, d.month, d.day), c.intl);
}

// The summaries are rebuilt in the internal units, whatever the user's units are.
void rebuild(CommandContext& ctx, SummaryOptions& o) {
  const quantities::UserConventions conv = userConventions(ctx, o.choice.programDir);
  std::optional<quantities::Date> only;
  if (!o.date.empty()) {
    only = dateArgument(ctx, conv, "--date", o.date);
    if (!only) return;
  }
  database::WeatherDatabase db(*ctx.env.files);
  if (!openStation(ctx, o, db)) return;
  const quantities::Units internal;
  const platform::IntlSettings intl;
  const quantities::ValueContext values{internal, intl, 1.0};
  if (only) {
    const platform::Status s =
        database::rebuildDaySummary(db, only->year, only->month, only->day, values);
    const platform::Status closed = db.close();
    if (s.kind() == platform::Errc::kNotFound) {
      return fail(ctx, "summary rebuild", text(kMsgNoSummary, {dayText(*only, conv)}));
    }
    if (!s) return fail(ctx, "summary rebuild", s.message());
    if (!closed) return fail(ctx, "summary rebuild", closed.message());
    *ctx.out << text(kMsgRebuiltDay, {dayText(*only, conv)}) << "\n";
    ctx.exitCode = kExitOk;
    return;
  }
  auto report = database::rebuildAllSummaries(db, values);
  const platform::Status closed = db.close();
  if (!report) return fail(ctx, "summary rebuild", report.status().message());
  if (!closed) return fail(ctx, "summary rebuild", closed.message());
  for (const std::string& p : report->problems) *ctx.err << text(kMsgNotRebuilt, {p}) << "\n";
  *ctx.out << text(kMsgRebuiltDays, {count(report->days, kOneDay, kDays)}) << "\n";
  ctx.exitCode = report->problems.empty() ? kExitOk : kExitFailed;
}

void show(CommandContext& ctx, SummaryOptions& o) {
  const quantities::UserConventions conv = userConventions(ctx, o.choice.programDir);
  const auto d = dateArgument(ctx, conv, "--date", o.date);
  if (!d) return;
  database::WeatherDatabase db(*ctx.env.files);
  if (!openStation(ctx, o, db, /*readOnly=*/true)) return;
  database::DailySummaryObject summary;
  if (db.GetDailySummary(summary, d->year, d->month, d->day) != database::kResultOk) {
    return fail(ctx, "summary show", text(kMsgNoSummary, {dayText(*d, conv)}));
  }
  database::printSummary(summary, conv.units, conv.intl, *ctx.out);
  ctx.exitCode = kExitOk;
}

void addSummaryGroup(CLI::App& app, CommandContext& ctx, std::shared_ptr<SummaryOptions> o) {
  auto* group = app.add_subcommand("summary", helpText(kHelpSummary));
  group->require_subcommand(1);

  auto* rebuildCommand = group->add_subcommand("rebuild", helpText(kHelpRebuild));
  addStationOptions(rebuildCommand, o->choice);
  rebuildCommand->add_option("--date", o->date, helpText(kHelpOnlyDay));
  rebuildCommand->callback([&ctx, o] { rebuild(ctx, *o); });

  auto* showCommand = group->add_subcommand("show", helpText(kHelpShow));
  addStationOptions(showCommand, o->choice);
  showCommand->add_option("--date", o->date, helpText(kHelpDate))->required();
  showCommand->callback([&ctx, o] { show(ctx, *o); });
}

void addRainGroup(CLI::App& app, CommandContext& ctx, std::shared_ptr<SummaryOptions> o) {
  auto* group = app.add_subcommand("rain", helpText(kHelpRain));
  group->require_subcommand(1);

  auto* build = group->add_subcommand("build", helpText(kHelpRainBuild));
  addStationOptions(build, o->choice);
  build->add_flag("--replace", o->replace, helpText(kHelpReplace));
  build->callback([&ctx, o] {
    database::WeatherDatabase db(*ctx.env.files);
    if (!openStation(ctx, *o, db)) return;
    database::RainDatabase rain(*ctx.env.files);
    if (rain.load(o->choice.station) == database::kResultOk && !o->replace) {
      return fail(ctx, "rain build", text(kMsgRainExists, {rain.path()}));
    }
    if (const platform::Status s = database::buildRainDatabase(rain, db); !s) {
      return fail(ctx, "rain build", platform::loadString(kMsgRainNotCreated) + " " + s.message());
    }
    *ctx.out << text(kMsgRainBuilt, {rain.path(), count(rain.yearCount(), kOneYear, kYears)})
             << "\n";
    ctx.exitCode = kExitOk;
  });

  auto* showCommand = group->add_subcommand("show", helpText(kHelpRainShow));
  addStationOptions(showCommand, o->choice);
  showCommand->callback([&ctx, o] {
    if (!resolveDataStation(ctx, o->choice)) return;
    const quantities::UserConventions conv = userConventions(ctx, o->choice.programDir);
    database::RainDatabase rain(*ctx.env.files);
    if (rain.load(o->choice.station) != database::kResultOk) {
      return fail(ctx, "rain show", text(kMsgRainUnreadable, {rain.path()}));
    }
    for (const std::string& p : rain.problems()) *ctx.err << text(kMsgLeftOut, {p}) << "\n";
    database::printRainTable(rain, conv.units, *ctx.out);
    ctx.exitCode = kExitOk;
  });
}

}  // namespace

void addSummaryCommands(CLI::App& app, CommandContext& ctx) {
  auto o = std::make_shared<SummaryOptions>();
  addSummaryGroup(app, ctx, o);
  addRainGroup(app, ctx, o);
}

}  // namespace cli
