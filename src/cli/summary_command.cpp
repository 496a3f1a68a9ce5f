#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/cli.h"
#include "database/database_views.h"
#include "database/rain_build.h"
#include "database/rain_database.h"
#include "database/rain_view.h"
#include "database/record_text.h"
#include "database/summary_rebuild.h"
#include "database/summary_view.h"
#include "database/weather_database.h"
#include "frame/program_runner.h"
#include "frame/user_conventions.h"
#include "platform/string_table.h"

namespace cli {

namespace {

struct SummaryOptions {
  std::string station;
  std::string programDir;
  std::string date;
  bool replace = false;
};

// The units and conventions of a user who keeps the internal units.
struct Conventions {
  quantities::Units units;
  platform::IntlSettings intl;
  quantities::ValueContext values{units, intl, 1.0};
};

void fail(CommandContext& ctx, const char* group, const std::string& what) {
  *ctx.err << "stratalog " << group << ": " << what << "\n";
  ctx.exitCode = kExitFailed;
}

// Opens the station's database; a view opens it read-only, so a station on read-only media
// or of another user shows whole.
bool openStation(CommandContext& ctx, const char* group, database::WeatherDatabase& db,
                 const std::string& dir, bool readOnly = false) {
  if (!ctx.env.files->isDirectory(dir)) {
    fail(ctx, group, dir + ": no such station directory");
    return false;
  }
  (void)(readOnly ? db.openReadOnly(dir) : db.open(dir));
  for (const std::string& p : db.problems()) *ctx.err << "left out: " << p << "\n";
  return true;
}

std::optional<records::DateTime> day(CommandContext& ctx, const std::string& text) {
  auto date = database::parseDateTimeText(text);
  if (!date) {
    *ctx.err << "stratalog summary: '" << text << "' is not a date (YYYY-MM-DD)\n";
    ctx.exitCode = kExitUsage;
  }
  return date;
}

void addStation(CLI::App* cmd, SummaryOptions& o) {
  cmd->add_option("--station", o.station, "station directory")->required();
}

void addProgramDir(CLI::App* cmd, SummaryOptions& o) {
  cmd->add_option("--program-dir", o.programDir,
                  "program directory holding progdata.dat and intl.ini (default: current)");
}

void addSummaryGroup(CLI::App& app, CommandContext& ctx, std::shared_ptr<SummaryOptions> o) {
  auto* group = app.add_subcommand("summary", "Daily summaries of a station");
  group->require_subcommand(1);

  auto* rebuild = group->add_subcommand(
      "rebuild", "Recompute the daily summaries from the stored records (all days, or one)");
  addStation(rebuild, *o);
  rebuild->add_option("--date", o->date, "only this day, YYYY-MM-DD");
  rebuild->callback([&ctx, o] {
    Conventions conv;
    database::WeatherDatabase db(*ctx.env.files);
    if (!openStation(ctx, "summary", db, o->station)) return;
    if (!o->date.empty()) {
      const auto d = day(ctx, o->date);
      if (!d) return;
      const platform::Status s =
          database::rebuildDaySummary(db, d->year, d->month, d->day, conv.values);
      const platform::Status closed = db.close();
      if (!s) return fail(ctx, "summary", s.message());
      if (!closed) return fail(ctx, "summary", closed.message());
      *ctx.out << "rebuilt " << o->date << "\n";
      ctx.exitCode = kExitOk;
      return;
    }
    auto report = database::rebuildAllSummaries(db, conv.values);
    const platform::Status closed = db.close();
    if (!report) return fail(ctx, "summary", report.status().message());
    if (!closed) return fail(ctx, "summary", closed.message());
    for (const std::string& p : report->problems) *ctx.err << "not rebuilt: " << p << "\n";
    *ctx.out << "rebuilt " << report->days << " days\n";
    ctx.exitCode = report->problems.empty() ? kExitOk : kExitFailed;
  });

  auto* show = group->add_subcommand("show", "Every value of a day's summary with its time");
  addStation(show, *o);
  show->add_option("--date", o->date, "the day, YYYY-MM-DD")->required();
  addProgramDir(show, *o);
  show->callback([&ctx, o] {
    const quantities::UserConventions conv =
        frame::readUserConventions(*ctx.env.files, frame::resolveProgramDirectory(o->programDir));
    database::WeatherDatabase db(*ctx.env.files);
    if (!openStation(ctx, "summary", db, o->station, /*readOnly=*/true)) return;
    const auto d = day(ctx, o->date);
    if (!d) return;
    database::DailySummaryObject summary;
    if (db.GetDailySummary(summary, d->year, d->month, d->day) != database::kResultOk) {
      return fail(ctx, "summary", o->date + ": the day has no summary");
    }
    database::printSummary(summary, conv.units, conv.intl, *ctx.out);
    ctx.exitCode = kExitOk;
  });
}

void addRainGroup(CLI::App& app, CommandContext& ctx, std::shared_ptr<SummaryOptions> o) {
  auto* group = app.add_subcommand("rain", "The station's rain database (rain.db)");
  group->require_subcommand(1);

  auto* build = group->add_subcommand(
      "build", "Build rain.db from the daily summaries (replaces the months typed in by hand)");
  addStation(build, *o);
  build->add_flag("--replace", o->replace, "replace an existing rain.db");
  build->callback([&ctx, o] {
    database::WeatherDatabase db(*ctx.env.files);
    if (!openStation(ctx, "rain", db, o->station)) return;
    database::RainDatabase rain(*ctx.env.files);
    if (rain.load(o->station) == database::kResultOk && !o->replace) {
      return fail(ctx, "rain",
                  rain.path() + " exists; its years would be replaced: add --replace to go on");
    }
    if (const platform::Status s = database::buildRainDatabase(rain, db); !s) {
      return fail(ctx, "rain", platform::loadString(61591) + " " + s.message());
    }
    *ctx.out << "built " << rain.path() << ": " << rain.yearCount() << " years\n";
    ctx.exitCode = kExitOk;
  });

  auto* show = group->add_subcommand("show", "The rain table with its minimum, maximum and mean");
  addStation(show, *o);
  addProgramDir(show, *o);
  show->callback([&ctx, o] {
    const quantities::UserConventions conv =
        frame::readUserConventions(*ctx.env.files, frame::resolveProgramDirectory(o->programDir));
    database::RainDatabase rain(*ctx.env.files);
    if (rain.load(o->station) != database::kResultOk) {
      return fail(ctx, "rain", rain.path() + ": cannot be read (build it with 'rain build')");
    }
    for (const std::string& p : rain.problems()) *ctx.err << "left out: " << p << "\n";
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
