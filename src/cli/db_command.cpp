#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/cli.h"
#include "database/database_views.h"
#include "database/month_check.h"
#include "database/station_generator.h"
#include "database/weather_database.h"
#include "frame/command_line_switches.h"
#include "frame/messages.h"
#include "platform/string_table.h"

namespace cli {

namespace {

using Catalogue = quantities::SensorCatalogue;
using Values = quantities::ValueContext;

constexpr int kHelpDb = 64700;
constexpr int kHelpInfo = 64701;
constexpr int kHelpMonths = 64702;
constexpr int kHelpDays = 64703;
constexpr int kHelpRecord = 64704;
constexpr int kHelpNumber = 64705;
constexpr int kHelpClosest = 64706;
constexpr int kHelpDate = 64707;
constexpr int kHelpTime = 64708;
constexpr int kHelpDay = 64709;
constexpr int kHelpCheck = 64710;
constexpr int kHelpRepair = 64711;
constexpr int kHelpGenerate = 64712;
constexpr int kHelpGenerateDir = 64713;
constexpr int kHelpFrom = 64714;
constexpr int kHelpDayCount = 64715;
constexpr int kHelpInterval = 64716;
constexpr int kMsgNotATime = 64717;
constexpr int kMsgCheckOk = 64718;
constexpr int kMsgCopied = 64719;
constexpr int kMsgMended = 64720;
constexpr int kMsgRepairMends = 64721;
constexpr int kMsgGenerated = 64722;
constexpr int kOneDay = 64723;
constexpr int kDays = 64724;

struct DbOptions {
  StationChoice choice;
  std::string dir;
  int number = 0;
  std::string date;
  std::string time;
  std::string from;
  int days = 1;
  int interval = 5;
  bool repair = false;
};

std::string text(int id, std::initializer_list<std::string_view> args) {
  return frame::fillText(platform::loadString(id), args);
}

// Each month file with what is wrong with it and, with --repair, what was mended. Exit 0
// when every file is sound or was mended, 1 when damage remains.
void checkCommand(CommandContext& ctx, const std::string& dir, bool repair) {
  auto checks = database::checkMonthFiles(*ctx.env.files, dir, repair);
  if (!checks) {
    ctx.exitCode = reportFailure(ctx, "db check", checks.status());
    return;
  }
  bool damaged = false;
  for (const database::MonthFileCheck& c : *checks) {
    if (c.faults.empty()) {
      *ctx.out << text(kMsgCheckOk, {c.path}) << "\n";
      continue;
    }
    for (const std::string& f : c.faults) *ctx.out << c.path << ": " << f << "\n";
    if (!c.backup.empty()) *ctx.out << text(kMsgCopied, {c.path, c.backup}) << "\n";
    for (const std::string& r : c.repairs) *ctx.out << text(kMsgMended, {c.path, r}) << "\n";
    if (c.repairs.empty()) {
      damaged = true;
      if (!repair && c.mendable) *ctx.out << text(kMsgRepairMends, {c.path}) << "\n";
    }
  }
  ctx.exitCode = damaged ? kExitFailed : kExitOk;
}

// Adds a view that opens the station read-only (so a station on read-only media or of
// another user shows whole) and runs `view` on it with the user's units and conventions.
template <typename View>
CLI::App* addView(CLI::App* db, CommandContext& ctx, std::shared_ptr<DbOptions> o, const char* name,
                  int help, View view) {
  auto* cmd = db->add_subcommand(name, helpText(help));
  addStationOptions(cmd, o->choice);
  cmd->callback([&ctx, o, view] {
    if (!resolveDataStation(ctx, o->choice)) return;
    database::WeatherDatabase wdb(*ctx.env.files);
    (void)wdb.openReadOnly(o->choice.station);
    const quantities::UserConventions c = userConventions(ctx, o->choice.programDir);
    const Catalogue catalogue = Catalogue::fromStringTable();
    const Values values{c.units, c.intl};
    ctx.exitCode = kExitOk;
    view(wdb, catalogue, values, c);
  });
  return cmd;
}

void finish(CommandContext& ctx, const char* command, const platform::Status& s) {
  ctx.exitCode = s ? kExitOk : reportFailure(ctx, command, s);
}

// DATE [TIME] of `db closest`: the day in ISO or the user's form, the time in the user's
// clock (midnight when left out).
std::optional<records::DateTime> moment(CommandContext& ctx, const DbOptions& o,
                                        const quantities::UserConventions& c) {
  const auto day = dateArgument(ctx, c, "db closest", o.date);
  if (!day) return std::nullopt;
  int minutes = 0;
  if (!o.time.empty()) {
    const auto parsed = quantities::parseTime(o.time, c.intl);
    if (!parsed) {
      *ctx.err << "stratalog: " << text(kMsgNotATime, {o.time, "db closest"}) << "\n";
      ctx.exitCode = kExitUsage;
      return std::nullopt;
    }
    minutes = *parsed;
  }
  return records::DateTime::fromDate(day->year, day->month, day->day,
                                     static_cast<std::uint16_t>(minutes));
}

void addViews(CLI::App* db, CommandContext& ctx, std::shared_ptr<DbOptions> o) {
  using Conventions = quantities::UserConventions;
  addView(db, ctx, o, "info", kHelpInfo,
          [&ctx](database::WeatherDatabase& wdb, const Catalogue&, const Values& v, const auto&) {
            database::printStationInfo(wdb, v.intl, *ctx.out);
          });
  addView(db, ctx, o, "months", kHelpMonths,
          [&ctx](database::WeatherDatabase& wdb, const Catalogue&, const Values& v, const auto&) {
            database::printMonths(wdb, v.intl, *ctx.out);
          });
  addView(db, ctx, o, "days", kHelpDays,
          [&ctx](database::WeatherDatabase& wdb, const Catalogue&, const Values& v, const auto&) {
            database::printDays(wdb, v.intl, *ctx.out);
          });
  addView(db, ctx, o, "record", kHelpRecord,
          [&ctx, o](database::WeatherDatabase& wdb, const Catalogue& cat, const Values& v,
                    const auto&) {
            finish(ctx, "db record", database::printRecord(wdb, o->number, cat, v, *ctx.out));
          })
      ->add_option("numero", o->number, helpText(kHelpNumber))
      ->required();
  auto* closest =
      addView(db, ctx, o, "closest", kHelpClosest,
              [&ctx, o](database::WeatherDatabase& wdb, const Catalogue& cat, const Values& v,
                        const Conventions& c) {
                const auto at = moment(ctx, *o, c);
                if (!at) return;
                finish(ctx, "db closest", database::printClosest(wdb, *at, cat, v, *ctx.out));
              });
  closest->add_option("fecha", o->date, helpText(kHelpDate))->required();
  closest->add_option("hora", o->time, helpText(kHelpTime));
  addView(db, ctx, o, "day", kHelpDay,
          [&ctx, o](database::WeatherDatabase& wdb, const Catalogue&, const Values& v,
                    const Conventions& c) {
            const auto day = dateArgument(ctx, c, "db day", o->date);
            if (!day) return;
            finish(ctx, "db day",
                   database::printDay(wdb, day->year, day->month, day->day, v, *ctx.out));
          })
      ->add_option("fecha", o->date, helpText(kHelpDate))
      ->required();
}

}  // namespace

void addDbCommands(CLI::App& app, CommandContext& ctx) {
  auto o = std::make_shared<DbOptions>();
  auto* db = app.add_subcommand("db", helpText(kHelpDb));
  db->require_subcommand(1);
  addViews(db, ctx, o);

  auto* check = db->add_subcommand("check", helpText(kHelpCheck));
  addStationOptions(check, o->choice);
  check->add_flag("--repair", o->repair, helpText(kHelpRepair));
  check->callback([&ctx, o] {
    if (!resolveDataStation(ctx, o->choice)) return;
    checkCommand(ctx, o->choice.station, o->repair);
  });

  // The directory of a new station: it need not exist yet, so it is no --station.
  auto* generate = db->add_subcommand("generate", helpText(kHelpGenerate));
  generate->add_option("directorio,--dir", o->dir, helpText(kHelpGenerateDir))->required();
  addProgramDirOption(generate, o->choice.programDir);
  generate->add_option("--from", o->from, helpText(kHelpFrom))->required();
  generate->add_option("--days", o->days, helpText(kHelpDayCount))->check(CLI::Range(1, 100000));
  generate->add_option("--interval", o->interval, helpText(kHelpInterval))
      ->check(CLI::Range(1, 255));
  generate->callback([&ctx, o] {
    const quantities::UserConventions c = userConventions(ctx, o->choice.programDir);
    const auto from = dateArgument(ctx, c, "--from", o->from);
    if (!from) return;
    const std::string dir =
        frame::resolveStationName(o->dir, programDirectory(o->choice.programDir));
    const database::GeneratorOptions g{from->year, from->month, from->day, o->days, o->interval};
    finish(ctx, "db generate", database::generateStation(*ctx.env.files, dir, g));
    if (ctx.exitCode != kExitOk) return;
    const std::string first = quantities::shortDateText(
        records::DateTime::fromDate(from->year, from->month, from->day), c.intl);
    *ctx.out << text(kMsgGenerated, {dir,
                                     o->days == 1 ? platform::loadString(kOneDay)
                                                  : text(kDays, {std::to_string(o->days)}),
                                     first, std::to_string(o->interval)})
             << "\n";
  });
}

}  // namespace cli
