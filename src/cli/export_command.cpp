// stratalog export: the records of picked days, months and years written out as text,
// shown for copying or printing, written in the GLOBE exchange format, or deleted.
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "database/weather_database.h"
#include "platform/string_table.h"
#include "platform/user_interface.h"
#include "quantities/date_text.h"
#include "database/rain_database.h"
#include "reports/export_delete.h"
#include "reports/export_globe.h"
#include "reports/export_lines.h"
#include "reports/export_selection.h"
#include "reports/export_text_ids.h"
#include "reports/noaa_report.h"
#include "reports/report_format.h"
#include "station/station_state.h"

namespace cli {

namespace {

namespace et = reports::export_text;

constexpr int kHelpGroup = 66100;
constexpr int kHelpList = 66101;
constexpr int kHelpText = 66102;
constexpr int kHelpCopy = 66103;
constexpr int kHelpPrint = 66104;
constexpr int kHelpGlobe = 66105;
constexpr int kHelpDelete = 66106;
constexpr int kHelpDay = 66107;
constexpr int kHelpMonth = 66108;
constexpr int kHelpYear = 66109;
constexpr int kHelpMidnight = 66110;
constexpr int kHelpOutput = 66111;
constexpr int kHelpSchool = 66112;
constexpr int kHelpSite = 66113;
constexpr int kHelpSoil = 66114;
constexpr int kHelpSoilSite = 66115;
constexpr int kHelpSoilAnyway = 66116;
constexpr int kHelpWithoutSoil = 66117;
constexpr int kHelpDstStart = 66118;
constexpr int kHelpDstEnd = 66119;
constexpr int kHelpYes = 66120;
constexpr int kHelpUpdateRain = 66121;
constexpr int kMsgBadValue = 66122;
constexpr int kHeadDays = 66123;
constexpr int kHeadMonths = 66124;
constexpr int kHeadYears = 66125;

std::string text(int id, std::initializer_list<reports::FormatArg> args) {
  return reports::formatLine(platform::stringText(id), args);
}

// The options every export command shares: the station and the picked periods.
struct PickOptions {
  StationChoice choice;
  std::vector<std::string> days, months, years;
};

void addPickOptions(CLI::App* cmd, PickOptions& o) {
  addStationOptions(cmd, o.choice);
  cmd->add_option("--day", o.days, helpText(kHelpDay));
  cmd->add_option("--month", o.months, helpText(kHelpMonth));
  cmd->add_option("--year", o.years, helpText(kHelpYear));
}

// The station, its database and the user's conventions, with the picks read and checked.
struct Picked {
  station::StationState state;
  std::unique_ptr<database::WeatherDatabase> db;
  quantities::UserConventions conventions;
  reports::ExportSelection selection;
};

// Months and years are checked before the station is looked up, days after (they may be
// in the user's own date form); every pick must hold records. `nothingId` is the message
// for an empty pick. Sets the exit code and answers nothing on failure.
std::optional<Picked> pick(CommandContext& ctx, PickOptions& o, const std::string& command,
                           int nothingId, bool writable) {
  reports::ExportSelection selection;
  for (const std::string& m : o.months) {
    auto ym = monthArgument(m);
    if (!ym) {
      usageError(ctx, command,
                 text(kMsgBadValue, {std::string_view(m), std::string_view("--month"),
                                     std::string_view("AAAA-MM")}));
      return std::nullopt;
    }
    selection.months.push_back(*ym);
  }
  for (const std::string& y : o.years) {
    auto year = yearArgument(y);
    if (!year) {
      usageError(ctx, command,
                 text(kMsgBadValue, {std::string_view(y), std::string_view("--year"),
                                     std::string_view("AAAA")}));
      return std::nullopt;
    }
    selection.years.push_back(*year);
  }
  if (!resolveStation(ctx, o.choice)) return std::nullopt;
  auto st = station::loadStation(*ctx.env.files, o.choice.station, station::stationDataSets());
  if (!st) {
    ctx.exitCode = reportFailure(ctx, command, st.status());
    return std::nullopt;
  }
  Picked p{std::move(*st), std::make_unique<database::WeatherDatabase>(*ctx.env.files),
           userConventions(ctx, o.choice.programDir), {}};
  for (const std::string& d : o.days) {
    auto date = dateArgument(ctx, p.conventions, "--day", d);
    if (!date) return std::nullopt;
    selection.days.push_back(*date);
  }
  if (nothingId != 0 && selection.empty()) {
    usageError(ctx, command, platform::loadString(nothingId));
    return std::nullopt;
  }
  if (writable) {
    (void)p.db->open(o.choice.station);
  } else {
    (void)p.db->openReadOnly(o.choice.station);
  }
  for (const std::string& problem : p.db->problems())
    *ctx.err << "stratalog " << command << ": " << problem << "\n";
  if (platform::Status s = reports::checkSelection(*p.db, selection); !s) {
    ctx.exitCode = reportFailure(ctx, command, s);
    return std::nullopt;
  }
  p.selection = std::move(selection);
  return p;
}

void addList(CLI::App& group, CommandContext& ctx) {
  auto o = std::make_shared<PickOptions>();
  auto* cmd = group.add_subcommand("list", helpText(kHelpList));
  addStationOptions(cmd, o->choice);
  cmd->callback([&ctx, o] {
    auto p = pick(ctx, *o, "export list", 0, false);
    if (!p) return;
    const database::WeatherDatabase& db = *p->db;
    *ctx.out << platform::loadString(kHeadDays) << "\n";
    for (std::int32_t day : db.dayList()) {
      *ctx.out << "  "
               << reports::formatLine("%04d-%02d-%02d",
                                      {static_cast<long long>(day >> 16),
                                       static_cast<long long>((day >> 8) & 0xFF),
                                       static_cast<long long>(day & 0xFF)})
               << "\n";
    }
    *ctx.out << platform::loadString(kHeadMonths) << "\n";
    for (const reports::YearMonth& ym : reports::monthsPresent(db)) {
      *ctx.out << "  "
               << reports::formatLine("%04d-%02d", {static_cast<long long>(ym.year),
                                                     static_cast<long long>(ym.month)})
               << "\n";
    }
    *ctx.out << platform::loadString(kHeadYears) << "\n";
    for (int year : reports::yearsPresent(db)) *ctx.out << "  " << year << "\n";
    ctx.exitCode = kExitOk;
  });
}

struct TextOptions {
  PickOptions pick;
  std::string midnight = "00";
  std::string output;
};

std::optional<reports::Midnight> midnightChoice(CommandContext& ctx, const std::string& command,
                                                const std::string& v) {
  if (v == "00") return reports::Midnight::k00;
  if (v == "24") return reports::Midnight::k24;
  usageError(ctx, command,
             text(kMsgBadValue,
                  {std::string_view(v), std::string_view("--midnight"), std::string_view("00, 24")}));
  return std::nullopt;
}

void addText(CLI::App& group, CommandContext& ctx) {
  auto o = std::make_shared<TextOptions>();
  auto* cmd = group.add_subcommand("text", helpText(kHelpText));
  addPickOptions(cmd, o->pick);
  cmd->add_option("--midnight", o->midnight, helpText(kHelpMidnight));
  cmd->add_option("--output", o->output, helpText(kHelpOutput));
  cmd->callback([&ctx, o] {
    const std::string command = "export text";
    const auto midnight = midnightChoice(ctx, command, o->midnight);
    if (!midnight) return;
    auto p = pick(ctx, o->pick, command, et::kNothingToExport, false);
    if (!p) return;
    const reports::ExportJob job{*p->db, p->state, p->conventions};
    auto written = reports::writeExportFile(*ctx.env.files, job,
                                            reports::selectedDays(*p->db, p->selection),
                                            *midnight, o->output);
    if (!written) {
      ctx.exitCode = reportFailure(ctx, command, written.status());
      return;
    }
    *ctx.out << text(et::kWritten, {std::string_view(*written)}) << "\n";
    ctx.exitCode = kExitOk;
  });
}

// copy and print: the lines on standard output.
void addShown(CLI::App& group, CommandContext& ctx, const std::string& name, int helpId,
              int nothingId, reports::ExportLayout layout) {
  auto o = std::make_shared<TextOptions>();
  auto* cmd = group.add_subcommand(name, helpText(helpId));
  addPickOptions(cmd, o->pick);
  if (layout == reports::ExportLayout::kDelimited) {
    cmd->add_option("--midnight", o->midnight, helpText(kHelpMidnight));
  }
  cmd->callback([&ctx, o, name, nothingId, layout] {
    const std::string command = "export " + name;
    const auto midnight = midnightChoice(ctx, command, o->midnight);
    if (!midnight) return;
    auto p = pick(ctx, o->pick, command, nothingId, false);
    if (!p) return;
    const reports::ExportJob job{*p->db, p->state, p->conventions};
    auto lines =
        reports::exportLines(job, reports::selectedDays(*p->db, p->selection), layout, *midnight);
    if (!lines) {
      ctx.exitCode = reportFailure(ctx, command, lines.status());
      return;
    }
    *ctx.out << *lines;
    ctx.exitCode = kExitOk;
  });
}

struct GlobeOptions {
  PickOptions pick;
  std::string school, site, soilSite;
  bool soil = false, soilAnyway = false, withoutSoil = false;
  std::string dstStart, dstEnd;
  std::string output;
};

// "2006-04-02 02:00": a date of dateArgument's forms, a blank, and the clock time H:MM.
std::optional<reports::DateMinutes> momentArgument(CommandContext& ctx,
                                                   const quantities::UserConventions& conventions,
                                                   const std::string& command,
                                                   const std::string& option,
                                                   const std::string& value) {
  const auto blank = value.find_last_of(' ');
  const auto colon = value.find(':', blank == std::string::npos ? 0 : blank);
  std::optional<int> hour, minute;
  if (blank != std::string::npos && colon != std::string::npos) {
    hour = digitsArgument(std::string_view(value).substr(blank + 1, colon - blank - 1));
    const std::string_view m = std::string_view(value).substr(colon + 1);
    if (m.size() == 2) minute = digitsArgument(m);
  }
  if (!hour || !minute || *hour > 23 || *minute > 59 || colon - blank - 1 > 2) {
    usageError(ctx, command,
               text(et::kBadMoment, {std::string_view(value), std::string_view(option)}));
    return std::nullopt;
  }
  const auto date = dateArgument(ctx, conventions, option, value.substr(0, blank));
  if (!date) return std::nullopt;
  return reports::DateMinutes{*date, *hour * 60 + *minute};
}

void addGlobe(CLI::App& group, CommandContext& ctx) {
  auto o = std::make_shared<GlobeOptions>();
  auto* cmd = group.add_subcommand("globe", helpText(kHelpGlobe));
  addPickOptions(cmd, o->pick);
  auto* school = cmd->add_option("--school", o->school, helpText(kHelpSchool));
  auto* site = cmd->add_option("--site", o->site, helpText(kHelpSite));
  cmd->add_flag("--soil", o->soil, helpText(kHelpSoil));
  auto* soilSite = cmd->add_option("--soil-site", o->soilSite, helpText(kHelpSoilSite));
  auto* anyway = cmd->add_flag("--soil-anyway", o->soilAnyway, helpText(kHelpSoilAnyway));
  cmd->add_flag("--without-soil", o->withoutSoil, helpText(kHelpWithoutSoil))->excludes(anyway);
  cmd->add_option("--dst-start", o->dstStart, helpText(kHelpDstStart));
  cmd->add_option("--dst-end", o->dstEnd, helpText(kHelpDstEnd));
  cmd->add_option("--output", o->output, helpText(kHelpOutput));
  cmd->callback([&ctx, o, school, site, soilSite] {
    const std::string command = "export globe";
    auto p = pick(ctx, o->pick, command, 0, false);
    if (!p) return;
    station::StationConfig& config = p->state.config;
    // What is not given comes from the station, as the dialog shows it.
    reports::GlobeIds ids{school->count() > 0 ? o->school : config.globeSchoolId(),
                          site->count() > 0 ? o->site : config.globeSiteId(),
                          soilSite->count() > 0 ? o->soilSite : config.globeSoilSiteId(),
                          o->soil || config.globeIncludeSoil()};
    if (o->withoutSoil) ids.includeSoil = false;
    if (platform::Status s = reports::checkGlobeIds(ids); !s) {
      return usageError(ctx, command, s.message());
    }
    if (ids.includeSoil && !config.hasSensors(0, reports::kGlobeSoilSensors) && !o->soilAnyway) {
      return usageError(ctx, command,
                        platform::loadString(et::kSoilSensorsMissing) + "\n" +
                            platform::loadString(et::kSoilChoiceNeeded));
    }
    if (p->selection.empty()) {
      return usageError(ctx, command, platform::loadString(et::kNothingSelected));
    }
    std::optional<reports::SavingPeriod> manual;
    if (config.consoleDstManual()) {
      if (o->dstStart.empty() || o->dstEnd.empty()) {
        return usageError(ctx, command, platform::loadString(et::kDstDatesNeeded));
      }
      const auto start = momentArgument(ctx, p->conventions, command, "--dst-start", o->dstStart);
      if (!start) return;
      const auto end = momentArgument(ctx, p->conventions, command, "--dst-end", o->dstEnd);
      if (!end) return;
      manual = reports::SavingPeriod{*start, *end};
    }
    config.setGlobeSchoolId(ids.school);
    config.setGlobeSiteId(ids.site);
    config.setGlobeSoilSiteId(ids.soilSite);
    config.setGlobeIncludeSoil(ids.includeSoil);
    if (platform::Status s = station::saveStation(*ctx.env.files, p->state); !s) {
      *ctx.err << "stratalog " << command << ": " << platform::loadString(et::kStationSaveFailed)
               << " (" << s.message() << ")\n";
      ctx.exitCode = kExitFailed;
      return;
    }
    const reports::GlobeJob job{*p->db, config, p->conventions, ids,
                                reports::globeClock(config, manual)};
    auto written = reports::writeGlobeFile(*ctx.env.files, job,
                                           reports::selectedDays(*p->db, p->selection), o->output);
    if (!written) {
      ctx.exitCode = reportFailure(ctx, command, written.status());
      return;
    }
    *ctx.out << text(et::kWritten, {std::string_view(*written)}) << "\n";
    ctx.exitCode = kExitOk;
  });
}

struct DeleteOptions {
  PickOptions pick;
  bool yes = false;
  bool updateRain = false;
};

void addDelete(CLI::App& group, CommandContext& ctx) {
  auto o = std::make_shared<DeleteOptions>();
  auto* cmd = group.add_subcommand("delete", helpText(kHelpDelete));
  addPickOptions(cmd, o->pick);
  cmd->add_flag("--yes", o->yes, helpText(kHelpYes));
  cmd->add_flag("--update-rain", o->updateRain, helpText(kHelpUpdateRain));
  cmd->callback([&ctx, o] {
    const std::string command = "export delete";
    auto p = pick(ctx, o->pick, command, et::kNothingToDelete, true);
    if (!p) return;
    bool updateRain = o->updateRain;
    if (!o->yes) {
      // Headless, a question takes its negative answer: nothing is deleted.
      auto ui = platform::makeUserInterface(*ctx.env.files, *ctx.env.clock);
      const std::string title = platform::loadString(et::kDeleteTitle);
      if (!ui->question(title, platform::stringText(et::kConfirmDelete))) {
        *ctx.err << "stratalog " << command << ": " << platform::loadString(et::kNothingDeleted)
                 << "\n";
        ctx.exitCode = kExitFailed;
        return;
      }
      if (!updateRain) updateRain = ui->question(title, platform::stringText(et::kAskRain));
    }
    database::RainDatabase rain(*ctx.env.files);
    if (updateRain && rain.load(o->pick.choice.station) != 0) {
      *ctx.err << "stratalog " << command << ": " << platform::loadString(et::kNoRainDatabase)
               << "\n";
      ctx.exitCode = kExitFailed;
      return;
    }
    auto done = reports::deleteSelection(*p->db, updateRain ? &rain : nullptr, p->selection);
    const platform::Status closed = p->db->close();
    if (!done) {
      ctx.exitCode = reportFailure(ctx, command, done.status());
      return;
    }
    if (!closed) {
      ctx.exitCode = reportFailure(ctx, command, closed);
      return;
    }
    *ctx.out << platform::loadString(et::kDeleted) << " (" << done->records << ")\n";
    if (updateRain) *ctx.out << platform::loadString(et::kRainUpdated) << "\n";
    ctx.exitCode = kExitOk;
  });
}

}  // namespace

void addExportCommands(CLI::App& app, CommandContext& ctx) {
  auto* group = app.add_subcommand("export", helpText(kHelpGroup));
  group->require_subcommand(1);
  addList(*group, ctx);
  addText(*group, ctx);
  addShown(*group, ctx, "copy", kHelpCopy, et::kNothingToCopy, reports::ExportLayout::kDelimited);
  addShown(*group, ctx, "print", kHelpPrint, et::kNothingToPrint, reports::ExportLayout::kFixed);
  addGlobe(*group, ctx);
  addDelete(*group, ctx);
}

}  // namespace cli
