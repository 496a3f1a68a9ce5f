// stratalog report: the NOAA climatological summaries of a station, their setup, and the
// stored settings of the accumulation reports.
#include <CLI/CLI.hpp>
#include <charconv>
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
#include "reports/noaa_report.h"
#include "reports/noaa_setup.h"
#include "reports/noaa_text.h"
#include "reports/report_data.h"
#include "reports/report_format.h"
#include "reports/report_text_ids.h"
#include "reports/sun_text_ids.h"
#include "reports/sunrise_report.h"
#include "reports/sunshine_report.h"
#include "reports/time_zones.h"
#include "station/station_state.h"

namespace cli {

namespace {

constexpr int kHelpReportGroup = 65000;
constexpr int kHelpSettings = 65001;
constexpr int kHelpNoaaMonth = 65002;
constexpr int kHelpNoaaYear = 65003;
constexpr int kHelpNoaaSetup = 65004;
constexpr int kHelpMonth = 65005;
constexpr int kHelpYear = 65006;
constexpr int kHelpCurrentMonth = 65007;
constexpr int kHelpPreviousMonth = 65008;
constexpr int kHelpCurrentYear = 65009;
constexpr int kHelpPreviousYear = 65010;
constexpr int kHelpListMonths = 65011;
constexpr int kHelpListYears = 65012;
constexpr int kHelpOutput = 65013;
constexpr int kHelpCity = 65014;
constexpr int kHelpState = 65015;
constexpr int kHelpElevation = 65016;
constexpr int kHelpLatText = 65017;
constexpr int kHelpLonText = 65018;
constexpr int kHelpHeatBase = 65019;
constexpr int kHelpCoolBase = 65020;
constexpr int kHelpMethod = 65021;
constexpr int kHelpNormalTemp = 65022;
constexpr int kHelpNormalRain = 65023;
constexpr int kMsgBadMonth = 65030;
constexpr int kMsgBadYear = 65031;
constexpr int kMsgBadMethod = 65032;
constexpr int kMsgBadNormal = 65033;
constexpr int kMsgOneOf = 65034;
constexpr int kMsgReportWritten = 65035;
constexpr int kMsgSetupSaved = 65036;
constexpr int kHelpSunrise = 65650;
constexpr int kHelpSunriseDate = 65651;
constexpr int kHelpSunriseRange = 65652;
constexpr int kHelpSunriseZone = 65653;
constexpr int kHelpSunriseOffset = 65654;
constexpr int kHelpSunriseDst = 65655;
constexpr int kHelpListZones = 65656;
constexpr int kHelpSunshine = 65657;
constexpr int kHelpSunshineStart = 65658;
constexpr int kHelpSunshineEnd = 65659;
constexpr int kHelpSunshineThreshold = 65660;
constexpr int kMsgBadChoice = 65670;
constexpr int kMsgBadZoneIndex = 65671;

std::string text(int id, std::initializer_list<reports::FormatArg> args) {
  return reports::formatLine(platform::stringText(id), args);
}

// The station as loaded, its database open for reading, and the user's conventions.
struct OpenStation {
  station::StationState state;
  std::unique_ptr<database::WeatherDatabase> db;
  quantities::UserConventions conventions;
};

std::optional<OpenStation> openStation(CommandContext& ctx, StationChoice& choice,
                                       const std::string& command, bool withDatabase) {
  if (!resolveStation(ctx, choice)) return std::nullopt;
  auto st = station::loadStation(*ctx.env.files, choice.station, station::stationDataSets());
  if (!st) {
    ctx.exitCode = reportFailure(ctx, command, st.status());
    return std::nullopt;
  }
  OpenStation open{std::move(*st), nullptr, userConventions(ctx, choice.programDir)};
  if (withDatabase) {
    open.db = std::make_unique<database::WeatherDatabase>(*ctx.env.files);
    (void)open.db->openReadOnly(choice.station);
    for (const std::string& p : open.db->problems())
      *ctx.err << "stratalog " << command << ": " << p << "\n";
  }
  return open;
}

void showReport(CommandContext& ctx, const std::string& title, const std::string& path) {
  *ctx.out << text(kMsgReportWritten, {std::string_view(path)}) << "\n";
  auto ui = platform::makeUserInterface(*ctx.env.files, *ctx.env.clock);
  ui->showTextFile(title, path);
}

struct PeriodOptions {
  StationChoice choice;
  std::string period;  // --month or --year
  bool current = false;
  bool previous = false;
  bool list = false;
  std::string output;
};

bool onePeriod(CommandContext& ctx, const std::string& command, const PeriodOptions& o,
               const char* periodOption) {
  const int given = (o.period.empty() ? 0 : 1) + (o.current ? 1 : 0) + (o.previous ? 1 : 0);
  if (given <= 1) return true;
  usageError(
      ctx, command,
      text(kMsgOneOf, {std::string_view(std::string(periodOption) + ", --current, --previous")}));
  return false;
}

// What differs between the monthly and the yearly summary's command.
struct MonthlyNoaa {
  using Period = reports::YearMonth;
  static constexpr const char* kName = "noaa-month";
  static constexpr const char* kOption = "--month";
  static constexpr int kHelp = kHelpNoaaMonth, kHelpPeriod = kHelpMonth,
                       kHelpCurrent = kHelpCurrentMonth, kHelpPrevious = kHelpPreviousMonth,
                       kHelpList = kHelpListMonths, kBadPeriod = kMsgBadMonth;
  static std::optional<Period> parse(std::string_view s) { return monthArgument(s); }
  static void list(std::ostream& out, const database::WeatherDatabase& db) {
    for (const reports::YearMonth& ym : reports::monthsPresent(db)) {
      out << reports::formatLine(
          "%04d-%02d\n", {static_cast<long long>(ym.year), static_cast<long long>(ym.month)});
    }
  }
  static platform::Result<std::string> write(const reports::NoaaJob& job, Period p,
                                             const std::string& output) {
    return reports::writeNoaaMonthReport(job, p, output);
  }
  static platform::Result<std::string> writeFor(const reports::NoaaJob& job,
                                                reports::NoaaPeriod period,
                                                const std::string& output) {
    return reports::writeNoaaMonthFor(job, period, output);
  }
  static Period newest(const database::WeatherDatabase& db) { return *reports::newestMonth(db); }
  static Period before(Period p) { return reports::previousMonth(p); }
  static std::string title(Period p, const quantities::UserConventions& conventions) {
    return text(reports::kTitleNoaaMonth,
                {std::string_view(quantities::monthYearText(
                    records::DateTime::fromDate(p.year, p.month, 1), conventions.intl))});
  }
};

struct YearlyNoaa {
  using Period = int;
  static constexpr const char* kName = "noaa-year";
  static constexpr const char* kOption = "--year";
  static constexpr int kHelp = kHelpNoaaYear, kHelpPeriod = kHelpYear,
                       kHelpCurrent = kHelpCurrentYear, kHelpPrevious = kHelpPreviousYear,
                       kHelpList = kHelpListYears, kBadPeriod = kMsgBadYear;
  static std::optional<Period> parse(std::string_view s) { return yearArgument(s); }
  static void list(std::ostream& out, const database::WeatherDatabase& db) {
    for (int year : reports::yearsPresent(db)) out << year << "\n";
  }
  static platform::Result<std::string> write(const reports::NoaaJob& job, Period p,
                                             const std::string& output) {
    return reports::writeNoaaYearReport(job, p, output);
  }
  static platform::Result<std::string> writeFor(const reports::NoaaJob& job,
                                                reports::NoaaPeriod period,
                                                const std::string& output) {
    return reports::writeNoaaYearFor(job, period, output);
  }
  static Period newest(const database::WeatherDatabase& db) {
    return reports::newestMonth(db)->year;
  }
  static Period before(Period p) { return p - 1; }
  static std::string title(Period p, const quantities::UserConventions&) {
    return text(reports::kTitleNoaaYear, {static_cast<long long>(p)});
  }
};

template <class Kind>
void addNoaaReport(CLI::App& group, CommandContext& ctx) {
  auto o = std::make_shared<PeriodOptions>();
  auto* cmd = group.add_subcommand(Kind::kName, helpText(Kind::kHelp));
  addStationOptions(cmd, o->choice);
  cmd->add_option(Kind::kOption, o->period, helpText(Kind::kHelpPeriod));
  cmd->add_flag("--current", o->current, helpText(Kind::kHelpCurrent));
  cmd->add_flag("--previous", o->previous, helpText(Kind::kHelpPrevious));
  cmd->add_flag("--list", o->list, helpText(Kind::kHelpList));
  cmd->add_option("--output", o->output, helpText(kHelpOutput));
  cmd->callback([&ctx, o] {
    const std::string command = std::string("report ") + Kind::kName;
    if (!onePeriod(ctx, command, *o, Kind::kOption)) return;
    std::optional<typename Kind::Period> chosen;
    if (!o->period.empty()) {
      chosen = Kind::parse(o->period);
      if (!chosen) {
        return usageError(
            ctx, command,
            text(Kind::kBadPeriod, {std::string_view(o->period), std::string_view(Kind::kOption)}));
      }
    }
    auto open = openStation(ctx, o->choice, command, true);
    if (!open) return;
    database::WeatherDatabase& db = *open->db;
    if (db.dayList().empty()) {
      ctx.exitCode = reportFailure(ctx, command, reports::newestMonth(db).status());
      return;
    }
    if (o->list) {
      Kind::list(*ctx.out, db);
      ctx.exitCode = kExitOk;
      return;
    }
    const reports::NoaaJob job{*ctx.env.files, db, open->state.config, open->conventions};
    platform::Result<std::string> written =
        chosen ? Kind::write(job, *chosen, o->output)
               : Kind::writeFor(job,
                                o->previous ? reports::NoaaPeriod::kPrevious
                                            : reports::NoaaPeriod::kCurrent,
                                o->output);
    if (!written) {
      ctx.exitCode = reportFailure(ctx, command, written.status());
      return;
    }
    typename Kind::Period shown = chosen ? *chosen : Kind::newest(db);
    if (!chosen && o->previous) shown = Kind::before(shown);
    showReport(ctx, Kind::title(shown, open->conventions), *written);
    ctx.exitCode = kExitOk;
  });
}

struct SetupOptions {
  StationChoice choice;
  std::string city, state, elevation, latText, lonText, heatBase, coolBase, method;
  std::vector<std::string> normalTemps, normalRains;
};

// "M=V" with M 1-12; V may be empty.
std::optional<std::pair<int, std::string>> monthValue(const std::string& item) {
  const auto eq = item.find('=');
  if (eq == std::string::npos) return std::nullopt;
  const auto month = digitsArgument(std::string_view(item).substr(0, eq));
  if (!month || *month < 1 || *month > 12) return std::nullopt;
  return std::pair{*month, item.substr(eq + 1)};
}

void addNoaaSetup(CLI::App& group, CommandContext& ctx) {
  auto o = std::make_shared<SetupOptions>();
  auto* cmd = group.add_subcommand("noaa-setup", helpText(kHelpNoaaSetup));
  addStationOptions(cmd, o->choice);
  auto* city = cmd->add_option("--city", o->city, helpText(kHelpCity));
  auto* state = cmd->add_option("--state", o->state, helpText(kHelpState));
  auto* elevation = cmd->add_option("--elevation", o->elevation, helpText(kHelpElevation));
  auto* lat = cmd->add_option("--lat-text", o->latText, helpText(kHelpLatText));
  auto* lon = cmd->add_option("--lon-text", o->lonText, helpText(kHelpLonText));
  auto* heat = cmd->add_option("--heat-base", o->heatBase, helpText(kHelpHeatBase));
  auto* cool = cmd->add_option("--cool-base", o->coolBase, helpText(kHelpCoolBase));
  auto* method = cmd->add_option("--method", o->method, helpText(kHelpMethod));
  cmd->add_option("--normal-temp", o->normalTemps, helpText(kHelpNormalTemp));
  cmd->add_option("--normal-rain", o->normalRains, helpText(kHelpNormalRain));
  cmd->callback([&ctx, o, city, state, elevation, lat, lon, heat, cool, method] {
    const std::string command = "report noaa-setup";
    reports::NoaaSetupChanges changes;
    auto given = [](CLI::Option* opt, const std::string& v) {
      return opt->count() > 0 ? std::optional<std::string>(v) : std::nullopt;
    };
    changes.city = given(city, o->city);
    changes.state = given(state, o->state);
    changes.elevation = given(elevation, o->elevation);
    changes.latText = given(lat, o->latText);
    changes.lonText = given(lon, o->lonText);
    changes.heatBase = given(heat, o->heatBase);
    changes.coolBase = given(cool, o->coolBase);
    if (method->count() > 0) {
      if (o->method == "integration") {
        changes.integration = true;
      } else if (o->method == "maxmin") {
        changes.integration = false;
      } else {
        return usageError(ctx, command, text(kMsgBadMethod, {std::string_view(o->method)}));
      }
    }
    for (auto [items, out, option] :
         {std::tuple{&o->normalTemps, &changes.normalTemps, "--normal-temp"},
          std::tuple{&o->normalRains, &changes.normalRains, "--normal-rain"}}) {
      for (const std::string& item : *items) {
        auto mv = monthValue(item);
        if (!mv) {
          return usageError(
              ctx, command,
              text(kMsgBadNormal, {std::string_view(item), std::string_view(option)}));
        }
        out->push_back(*mv);
      }
    }
    auto open = openStation(ctx, o->choice, command, false);
    if (!open) return;
    const bool changing = changes.city || changes.state || changes.elevation || changes.latText ||
                          changes.lonText || changes.heatBase || changes.coolBase ||
                          changes.integration || !changes.normalTemps.empty() ||
                          !changes.normalRains.empty();
    const quantities::Units& units = open->conventions.units;
    if (changing) {
      if (platform::Status s = reports::applyNoaaSetup(open->state.config, changes, units); !s) {
        ctx.exitCode = reportFailure(ctx, command, s);
        return;
      }
      if (platform::Status s = station::saveStation(*ctx.env.files, open->state); !s) {
        *ctx.err << "stratalog " << command << ": "
                 << platform::loadString(reports::kMsgStationSaveFailed) << " (" << s.message()
                 << ")\n";
        ctx.exitCode = kExitFailed;
        return;
      }
      *ctx.out << platform::loadString(kMsgSetupSaved) << "\n";
    }
    *ctx.out << reports::describeNoaaSetup(open->state.config, units);
    ctx.exitCode = kExitOk;
  });
}

void addSettings(CLI::App& group, CommandContext& ctx) {
  auto choice = std::make_shared<StationChoice>();
  auto* cmd = group.add_subcommand("settings", helpText(kHelpSettings));
  addStationOptions(cmd, *choice);
  cmd->callback([&ctx, choice] {
    auto open = openStation(ctx, *choice, "report settings", false);
    if (!open) return;
    *ctx.out << reports::describeReportSettings(open->state.config, open->conventions.intl);
    ctx.exitCode = kExitOk;
  });
}

// The local date of the machine's clock.
quantities::Date today(const CommandContext& ctx) {
  const platform::CivilTime now = ctx.env.clock->toLocal(ctx.env.clock->wallNow());
  return {now.year, now.month, now.day};
}

// Saves the station after a report changed its settings; a failure is reported and
// answers the failure exit code, the report already written stays.
int saveChangedStation(CommandContext& ctx, const std::string& command,
                       const station::StationState& state) {
  if (platform::Status s = station::saveStation(*ctx.env.files, state); !s) {
    *ctx.err << "stratalog " << command << ": "
             << platform::loadString(reports::kMsgStationSaveFailed) << " (" << s.message()
             << ")\n";
    return kExitFailed;
  }
  return kExitOk;
}

struct SunriseOptions {
  StationChoice choice;
  std::string date;
  std::string range = "day";
  std::string zone;
  std::string offset;
  std::string dst;
  bool listZones = false;
  std::string output;
};

void addSunrise(CLI::App& group, CommandContext& ctx) {
  auto o = std::make_shared<SunriseOptions>();
  auto* cmd = group.add_subcommand("sunrise", helpText(kHelpSunrise));
  addStationOptions(cmd, o->choice);
  cmd->add_option("--date", o->date, helpText(kHelpSunriseDate));
  cmd->add_option("--range", o->range, helpText(kHelpSunriseRange));
  auto* zone = cmd->add_option("--zone", o->zone, helpText(kHelpSunriseZone));
  auto* offset = cmd->add_option("--offset", o->offset, helpText(kHelpSunriseOffset));
  auto* dst = cmd->add_option("--dst", o->dst, helpText(kHelpSunriseDst));
  cmd->add_flag("--list-zones", o->listZones, helpText(kHelpListZones));
  cmd->add_option("--output", o->output, helpText(kHelpOutput));
  cmd->callback([&ctx, o, zone, offset, dst] {
    const std::string command = "report sunrise";
    if (o->listZones) {
      for (int i = 0; i < reports::kZoneCount; ++i) {
        *ctx.out << reports::formatLine(
            "%2d  %s\n", {static_cast<long long>(i), std::string_view(reports::zoneText(i))});
      }
      ctx.exitCode = kExitOk;
      return;
    }
    reports::SunRange range;
    if (o->range == "day") {
      range = reports::SunRange::kDay;
    } else if (o->range == "month") {
      range = reports::SunRange::kMonth;
    } else if (o->range == "year") {
      range = reports::SunRange::kYear;
    } else {
      return usageError(
          ctx, command,
          text(kMsgBadChoice, {std::string_view(o->range), std::string_view("--range"),
                               std::string_view("day, month, year")}));
    }
    reports::SunriseChoices choices;
    if (zone->count() > 0 && offset->count() > 0) {
      return usageError(ctx, command, text(kMsgOneOf, {std::string_view("--zone, --offset")}));
    }
    if (zone->count() > 0) {
      const auto index = digitsArgument(o->zone);
      if (!index || *index >= reports::kZoneCount) {
        return usageError(ctx, command, text(kMsgBadZoneIndex, {std::string_view(o->zone)}));
      }
      choices.zoneIndex = *index;
    }
    if (offset->count() > 0) choices.typedOffset = o->offset;
    if (dst->count() > 0) {
      if (o->dst == "auto") {
        choices.saving = reports::Saving::kAutomatic;
      } else if (o->dst == "on") {
        choices.saving = reports::Saving::kOn;
      } else if (o->dst == "off") {
        choices.saving = reports::Saving::kOff;
      } else {
        return usageError(ctx, command,
                          text(kMsgBadChoice, {std::string_view(o->dst), std::string_view("--dst"),
                                               std::string_view("auto, on, off")}));
      }
    }
    auto open = openStation(ctx, o->choice, command, false);
    if (!open) return;
    quantities::Date date = today(ctx);
    if (!o->date.empty()) {
      const auto given = dateArgument(ctx, open->conventions, "--date", o->date);
      if (!given) return;
      date = *given;
    }
    const bool changing = choices.zoneIndex || choices.typedOffset || choices.saving;
    if (changing) {
      if (platform::Status s = reports::applySunriseChoices(open->state.config, choices); !s) {
        ctx.exitCode = reportFailure(ctx, command, s);
        return;
      }
    }
    auto written =
        reports::writeSunriseReport(*ctx.env.files, open->state.config, open->conventions.intl,
                                    o->choice.station, date, range, o->output);
    if (!written) {
      ctx.exitCode = reportFailure(ctx, command, written.status());
      return;
    }
    showReport(ctx, platform::loadString(reports::kTitleSunrise), *written);
    ctx.exitCode = changing ? saveChangedStation(ctx, command, open->state) : kExitOk;
  });
}

struct SunshineOptions {
  StationChoice choice;
  std::string start, end, threshold;
  std::string output;
};

void addSunshine(CLI::App& group, CommandContext& ctx) {
  auto o = std::make_shared<SunshineOptions>();
  auto* cmd = group.add_subcommand("sunshine", helpText(kHelpSunshine));
  addStationOptions(cmd, o->choice);
  auto* start = cmd->add_option("--start", o->start, helpText(kHelpSunshineStart));
  auto* end = cmd->add_option("--end", o->end, helpText(kHelpSunshineEnd));
  auto* threshold = cmd->add_option("--threshold", o->threshold, helpText(kHelpSunshineThreshold));
  cmd->add_option("--output", o->output, helpText(kHelpOutput));
  cmd->callback([&ctx, o, start, end, threshold] {
    const std::string command = "report sunshine";
    auto open = openStation(ctx, o->choice, command, true);
    if (!open) return;
    auto given = [](CLI::Option* opt, const std::string& v) {
      return opt->count() > 0 ? std::optional<std::string>(v) : std::nullopt;
    };
    const reports::SunshineInput input{given(start, o->start), given(end, o->end),
                                       given(threshold, o->threshold)};
    auto request =
        reports::sunshineRequest(input, *open->db, open->state.config, open->conventions.intl);
    if (!request) {
      ctx.exitCode = reportFailure(ctx, command, request.status());
      return;
    }
    auto written = reports::writeSunshineReport(*ctx.env.files, *open->db, *request, today(ctx),
                                                open->conventions.intl, o->output);
    if (!written) {
      ctx.exitCode = reportFailure(ctx, command, written.status());
      return;
    }
    showReport(ctx, platform::loadString(reports::kTitleSunshine), *written);
    reports::storeSunshineSettings(open->state.config, *request);
    ctx.exitCode = saveChangedStation(ctx, command, open->state);
  });
}

}  // namespace

void addReportCommands(CLI::App& app, CommandContext& ctx) {
  auto* group = app.add_subcommand("report", helpText(kHelpReportGroup));
  group->require_subcommand(1);
  addSettings(*group, ctx);
  addNoaaReport<MonthlyNoaa>(*group, ctx);
  addNoaaReport<YearlyNoaa>(*group, ctx);
  addNoaaSetup(*group, ctx);
  addSunrise(*group, ctx);
  addSunshine(*group, ctx);
}

}  // namespace cli
