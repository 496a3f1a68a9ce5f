#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/cli.h"
#include "database/database_views.h"
#include "database/month_check.h"
#include "database/record_text.h"
#include "database/station_generator.h"
#include "database/weather_database.h"
#include "frame/program_runner.h"
#include "frame/user_conventions.h"

namespace cli {

namespace {

using Catalogue = quantities::SensorCatalogue;
using Values = quantities::ValueContext;

struct DbOptions {
  std::string dir;
  std::string programDir;
  int number = 0;
  std::string date;
  std::string time;
  std::string from;
  int days = 1;
  int interval = 5;
};

void fail(CommandContext& ctx, const std::string& what) {
  *ctx.err << "stratalog db: " << what << "\n";
  ctx.exitCode = kExitFailed;
}

void report(CommandContext& ctx, const platform::Status& s) {
  if (s) {
    ctx.exitCode = kExitOk;
  } else {
    fail(ctx, s.message());
  }
}

// Opens the station read-only for a view, so a station on read-only media or of another
// user shows whole; false (with the error printed) when there is none.
bool openStation(CommandContext& ctx, database::WeatherDatabase& db, const std::string& dir) {
  if (!ctx.env.files->isDirectory(dir)) {
    fail(ctx, dir + ": no such station directory");
    return false;
  }
  (void)db.openReadOnly(dir);
  return true;
}

// Each month file with what is wrong with it and, with --repair, what was mended. Exit 0
// when every file is sound or was mended, 1 when damage remains.
void checkCommand(CommandContext& ctx, const std::string& dir, bool repair) {
  auto checks = database::checkMonthFiles(*ctx.env.files, dir, repair);
  if (!checks) return fail(ctx, checks.status().message());
  bool damaged = false;
  for (const database::MonthFileCheck& c : *checks) {
    if (c.faults.empty()) {
      *ctx.out << c.path << ": ok\n";
      continue;
    }
    for (const std::string& f : c.faults) *ctx.out << c.path << ": " << f << "\n";
    if (!c.backup.empty()) *ctx.out << c.path << ": copied to " << c.backup << "\n";
    for (const std::string& r : c.repairs) *ctx.out << c.path << ": mended: " << r << "\n";
    if (c.repairs.empty()) {
      damaged = true;
      if (!repair && c.mendable) *ctx.out << c.path << ": --repair mends it\n";
    }
  }
  ctx.exitCode = damaged ? kExitFailed : kExitOk;
}

// Adds a view that opens the station and runs `view` on it with the user's units and
// conventions from the program directory.
template <typename View>
CLI::App* addView(CLI::App* db, CommandContext& ctx, std::shared_ptr<DbOptions> o, const char* name,
                  const char* help, View view) {
  auto* cmd = db->add_subcommand(name, help);
  cmd->add_option("dir", o->dir, "station directory")->required();
  cmd->add_option("--program-dir", o->programDir,
                  "program directory holding progdata.dat and intl.ini (default: current)");
  cmd->callback([&ctx, o, view] {
    database::WeatherDatabase wdb(*ctx.env.files);
    if (!openStation(ctx, wdb, o->dir)) return;
    const quantities::UserConventions c =
        frame::readUserConventions(*ctx.env.files, frame::resolveProgramDirectory(o->programDir));
    const Catalogue catalogue = Catalogue::fromStringTable();
    const Values values{c.units, c.intl};
    view(wdb, catalogue, values);
  });
  return cmd;
}

std::optional<records::DateTime> dateOption(CommandContext& ctx, const std::string& text) {
  auto date = database::parseDateTimeText(text);
  if (!date) fail(ctx, "'" + text + "' is not a date (YYYY-MM-DD or YYYY-MM-DD HH:MM)");
  return date;
}

}  // namespace

void addDbCommands(CLI::App& app, CommandContext& ctx) {
  auto o = std::make_shared<DbOptions>();
  auto* db = app.add_subcommand("db", "Look into a station's database");
  db->require_subcommand(1);

  addView(db, ctx, o, "info", "Months, days, record counts, first and last dates",
          [&ctx](database::WeatherDatabase& wdb, const Catalogue&, const Values& v) {
            database::printStationInfo(wdb, v.intl, *ctx.out);
            ctx.exitCode = kExitOk;
          });
  addView(db, ctx, o, "months", "Each month file with its record counts",
          [&ctx](database::WeatherDatabase& wdb, const Catalogue&, const Values& v) {
            database::printMonths(wdb, v.intl, *ctx.out);
            ctx.exitCode = kExitOk;
          });
  addView(db, ctx, o, "days", "Each day with data and its record counts",
          [&ctx](database::WeatherDatabase& wdb, const Catalogue&, const Values& v) {
            database::printDays(wdb, v.intl, *ctx.out);
            ctx.exitCode = kExitOk;
          });
  addView(db, ctx, o, "record", "An archive record by its number (from 0)",
          [&ctx, o](database::WeatherDatabase& wdb, const Catalogue& cat, const Values& v) {
            report(ctx, database::printRecord(wdb, o->number, cat, v, *ctx.out));
          })
      ->add_option("number", o->number, "archive record number")
      ->required();
  auto* closest =
      addView(db, ctx, o, "closest", "The archive record closest to a moment",
              [&ctx, o](database::WeatherDatabase& wdb, const Catalogue& cat, const Values& v) {
                const std::string text = o->time.empty() ? o->date : o->date + " " + o->time;
                auto moment = dateOption(ctx, text);
                if (!moment) return;
                if (moment->minutes == records::kNoTime) moment->setMinutes(0);
                report(ctx, database::printClosest(wdb, *moment, cat, v, *ctx.out));
              });
  closest->add_option("date", o->date, "day, YYYY-MM-DD")->required();
  closest->add_option("time", o->time, "time of day, HH:MM (default 00:00)");
  addView(db, ctx, o, "day", "A day's summary and archive records",
          [&ctx, o](database::WeatherDatabase& wdb, const Catalogue&, const Values& v) {
            auto day = dateOption(ctx, o->date);
            if (!day) return;
            report(ctx, database::printDay(wdb, day->year, day->month, day->day, v, *ctx.out));
          })
      ->add_option("date", o->date, "day, YYYY-MM-DD")
      ->required();

  auto* check = db->add_subcommand(
      "check", "Check every month file; --repair mends what a killed writer left, after a copy");
  check->add_option("dir", o->dir, "station directory")->required();
  auto repair = std::make_shared<bool>(false);
  check->add_flag("--repair", *repair, "mend what can be mended (the original goes to Backup)");
  check->callback([&ctx, o, repair] {
    if (!ctx.env.files->isDirectory(o->dir))
      return fail(ctx, o->dir + ": no such station directory");
    checkCommand(ctx, o->dir, *repair);
  });

  auto* generate = db->add_subcommand("generate", "Write a station of generated weather");
  generate->add_option("dir", o->dir, "station directory (created when missing)")->required();
  generate->add_option("--from", o->from, "first day, YYYY-MM-DD")->required();
  generate->add_option("--days", o->days, "number of days")->check(CLI::Range(1, 100000));
  generate->add_option("--interval", o->interval, "archive interval in minutes")
      ->check(CLI::Range(1, 255));
  generate->callback([&ctx, o] {
    auto from = dateOption(ctx, o->from);
    if (!from) return;
    database::GeneratorOptions g{from->year, from->month, from->day, o->days, o->interval};
    report(ctx, database::generateStation(*ctx.env.files, o->dir, g));
    if (ctx.exitCode == kExitOk) {
      *ctx.out << "generated " << o->days << " days at " << o->interval << "-minute interval in "
               << o->dir << "\n";
    }
  });
}

}  // namespace cli
