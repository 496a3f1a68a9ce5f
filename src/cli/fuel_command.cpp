// stratalog fuel: the heating-fuel customers of a station, their estimates and K factors,
// the fuel-demand report and its degree-day settings.
#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
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
#include "reports/fuel_customer.h"
#include "reports/fuel_estimate.h"
#include "reports/fuel_report.h"
#include "reports/fuel_text_ids.h"
#include "reports/report_data.h"
#include "reports/report_format.h"
#include "station/station_state.h"

namespace cli {

namespace {

namespace ft = reports::fuel_text;

constexpr int kHelpGroup = 65800;
constexpr int kHelpList = 65801;
constexpr int kHelpShow = 65802;
constexpr int kHelpAdd = 65803;
constexpr int kHelpEdit = 65804;
constexpr int kHelpDelete = 65805;
constexpr int kHelpEstimate = 65806;
constexpr int kHelpKFactor = 65807;
constexpr int kHelpReport = 65808;
constexpr int kHelpSettings = 65809;
constexpr int kHelpNumber = 65810;
constexpr int kHelpNewNumber = 65811;
constexpr int kHelpLast = 65812;
constexpr int kHelpFirst = 65813;
constexpr int kHelpStreet = 65814;
constexpr int kHelpCity = 65815;
constexpr int kHelpState = 65816;
constexpr int kHelpPostal = 65817;
constexpr int kHelpComment1 = 65818;
constexpr int kHelpComment2 = 65819;
constexpr int kHelpK = 65820;
constexpr int kHelpReading = 65821;
constexpr int kHelpDate = 65822;
constexpr int kHelpHeater = 65823;
constexpr int kHelpNoHeater = 65824;
constexpr int kHelpYes = 65825;
constexpr int kHelpStart = 65826;
constexpr int kHelpEnd = 65827;
constexpr int kHelpGallons = 65828;
constexpr int kHelpAllowShort = 65829;
constexpr int kHelpKNumber = 65830;
constexpr int kHelpSort = 65831;
constexpr int kHelpBelow = 65832;
constexpr int kHelpAll = 65833;
constexpr int kHelpFull = 65834;
constexpr int kHelpShort = 65835;
constexpr int kHelpOutput = 65836;
constexpr int kHelpMethod = 65837;
constexpr int kHelpBase = 65838;
constexpr int kMsgBadOption = 65839;
constexpr int kHelpToday = 65840;

std::string text(int id, std::initializer_list<reports::FormatArg> args) {
  return reports::formatLine(platform::stringText(id), args);
}

// A decimal number as people type it ("1.1", ".75"), without the process locale.
std::optional<double> number(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty()) return std::nullopt;
  std::string t(s);
  if (t.front() == '.') t.insert(0, "0");
  if (t.size() > 1 && t[0] == '-' && t[1] == '.') t.insert(1, "0");
  double v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<std::uint32_t> customerNumber(std::string_view s) {
  if (s.empty() || s.size() > 8) return std::nullopt;
  std::uint32_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return v;
}

struct OpenStation {
  station::StationState state;
  std::string dir;
  quantities::UserConventions conventions;
};

std::optional<OpenStation> openStation(CommandContext& ctx, StationChoice& choice,
                                       const std::string& command) {
  if (!resolveStation(ctx, choice)) return std::nullopt;
  auto st = station::loadStation(*ctx.env.files, choice.station, station::stationDataSets());
  if (!st) {
    ctx.exitCode = reportFailure(ctx, command, st.status());
    return std::nullopt;
  }
  return OpenStation{std::move(*st), choice.station, userConventions(ctx, choice.programDir)};
}

std::unique_ptr<database::WeatherDatabase> openDatabase(CommandContext& ctx, const std::string& dir,
                                                        const std::string& command) {
  auto db = std::make_unique<database::WeatherDatabase>(*ctx.env.files);
  (void)db->openReadOnly(dir);
  for (const std::string& p : db->problems())
    *ctx.err << "stratalog " << command << ": " << p << "\n";
  return db;
}

quantities::Date today(CommandContext& ctx) {
  const platform::CivilTime now = ctx.env.clock->toLocal(ctx.env.clock->wallNow());
  return {now.year, now.month, now.day};
}

void printProblems(CommandContext& ctx, const std::string& command,
                   const std::vector<std::string>& problems) {
  for (const std::string& p : problems) *ctx.err << "stratalog " << command << ": " << p << "\n";
}

bool saveSettings(CommandContext& ctx, const std::string& command, OpenStation& open) {
  if (platform::Status s = station::saveStation(*ctx.env.files, open.state); !s) {
    *ctx.err << "stratalog " << command << ": " << platform::loadString(ft::kStationSaveFailed)
             << " (" << s.message() << ")\n";
    return false;
  }
  return true;
}

// The customer fields as options, shared by add and edit.
struct CustomerOptions {
  StationChoice choice;
  std::string number, newNumber, last, first, street, city, state, postal, comment1, comment2;
  std::string k, reading, date, heater;
  bool noHeater = false;
  std::vector<CLI::Option*> given;  // in the order of the fields below
};

enum Field {
  kLast,
  kFirst,
  kStreet,
  kCity,
  kState,
  kPostal,
  kComment1,
  kComment2,
  kK,
  kReading,
  kDate,
  kHeaterGallons,
  kFieldCount
};

void addCustomerOptions(CLI::App* cmd, CustomerOptions& o) {
  addStationOptions(cmd, o.choice);
  cmd->add_option("--number", o.number, helpText(kHelpNumber));
  o.given = {cmd->add_option("--last", o.last, helpText(kHelpLast)),
             cmd->add_option("--first", o.first, helpText(kHelpFirst)),
             cmd->add_option("--street", o.street, helpText(kHelpStreet)),
             cmd->add_option("--city", o.city, helpText(kHelpCity)),
             cmd->add_option("--state", o.state, helpText(kHelpState)),
             cmd->add_option("--postal-code", o.postal, helpText(kHelpPostal)),
             cmd->add_option("--comment1", o.comment1, helpText(kHelpComment1)),
             cmd->add_option("--comment2", o.comment2, helpText(kHelpComment2)),
             cmd->add_option("--k", o.k, helpText(kHelpK)),
             cmd->add_option("--reading", o.reading, helpText(kHelpReading)),
             cmd->add_option("--date", o.date, helpText(kHelpDate)),
             cmd->add_option("--heater", o.heater, helpText(kHelpHeater))};
  cmd->add_flag("--no-heater", o.noHeater, helpText(kHelpNoHeater));
}

// The given options over `c`, checked as the customer dialog checks them. Empty with the
// message when a value is missing or not what it should be.
std::optional<std::string> applyCustomerOptions(const CustomerOptions& o,
                                                const quantities::UserConventions& conv,
                                                bool adding, reports::FuelCustomer& c) {
  auto has = [&](Field f) { return o.given[f]->count() > 0; };
  if (has(kLast)) c.lastName = o.last;
  if (has(kFirst)) c.firstName = o.first;
  if (has(kStreet)) c.street = o.street;
  if (has(kCity)) c.city = o.city;
  if (has(kState)) c.state = o.state;
  if (has(kPostal)) c.postalCode = o.postal;
  if (has(kComment1)) c.comment1 = o.comment1;
  if (has(kComment2)) c.comment2 = o.comment2;
  if (c.comment1.size() > 79 || c.comment2.size() > 79)
    return platform::loadString(ft::kCommentTooLong);
  if (c.lastName.empty()) return platform::loadString(ft::kNeedLastName);
  if (has(kK) || adding) {
    if (!has(kK) || o.k.empty()) return platform::loadString(ft::kNeedK);
    const auto k = number(o.k);
    if (!k || *k <= 0.0) return text(ft::kBadK, {std::string_view(o.k)});
    c.kFactor = static_cast<float>(*k);
  }
  if (has(kReading) || adding) {
    if (!has(kReading) || o.reading.empty()) return platform::loadString(ft::kNeedReading);
    const auto r = number(o.reading);
    if (!r) return text(ft::kBadReading, {std::string_view(o.reading)});
    if (*r <= 0.0) return text(ft::kReadingNotPositive, {std::string_view(o.reading)});
    c.reading = static_cast<float>(*r);
  }
  if (has(kDate) || adding) {
    if (!has(kDate) || o.date.empty()) return platform::loadString(ft::kNeedDate);
    const auto d = quantities::parseDateOption(o.date, conv.intl);
    if (!d) return text(ft::kBadReadingDate, {std::string_view(o.date)});
    c.readingDate = *d;
  }
  if (o.noHeater) c.heaterOn = false;
  if (has(kHeaterGallons)) {
    if (o.heater.empty()) return platform::loadString(ft::kNeedHeater);
    const auto g = number(o.heater);
    if (!g || *g < 0.0) return text(ft::kBadHeater, {std::string_view(o.heater)});
    c.heaterOn = true;
    c.heaterGallons = static_cast<float>(*g);
  }
  return std::nullopt;
}

// --number as the dialog reads it.
std::optional<std::uint32_t> numberOption(CommandContext& ctx, const std::string& command,
                                          const std::string& value) {
  const auto n = customerNumber(value);
  if (!n) usageError(ctx, command, text(ft::kBadNumber, {std::string_view(value)}));
  return n;
}

void addCustomerCommand(CLI::App& group, CommandContext& ctx, bool adding) {
  auto o = std::make_shared<CustomerOptions>();
  auto* cmd =
      group.add_subcommand(adding ? "add" : "edit", helpText(adding ? kHelpAdd : kHelpEdit));
  addCustomerOptions(cmd, *o);
  if (!adding) cmd->add_option("--new-number", o->newNumber, helpText(kHelpNewNumber));
  cmd->callback([&ctx, o, adding] {
    const std::string command = adding ? "fuel add" : "fuel edit";
    const auto n = numberOption(ctx, command, o->number);
    if (!n) return;
    std::optional<std::uint32_t> renumber;
    if (!o->newNumber.empty()) {
      renumber = numberOption(ctx, command, o->newNumber);
      if (!renumber) return;
    }
    auto open = openStation(ctx, o->choice, command);
    if (!open) return;
    reports::FuelCustomer c;
    c.number = *n;
    if (!adding) {
      auto old = reports::readFuelCustomer(*ctx.env.files, open->dir, *n);
      if (!old) {
        ctx.exitCode = reportFailure(ctx, command, old.status());
        return;
      }
      c = std::move(*old);
    }
    if (auto problem = applyCustomerOptions(*o, open->conventions, adding, c)) {
      return usageError(ctx, command, *problem);
    }
    if (renumber) c.number = *renumber;
    const platform::Status s = reports::saveFuelCustomer(
        *ctx.env.files, open->dir, c, adding ? std::nullopt : std::optional<std::uint32_t>(*n));
    if (!s) {
      ctx.exitCode = reportFailure(ctx, command, s);
      return;
    }
    *ctx.out << text(ft::kSaved, {static_cast<long long>(c.number)}) << "\n";
    ctx.exitCode = kExitOk;
  });
}

void addList(CLI::App& group, CommandContext& ctx) {
  auto choice = std::make_shared<StationChoice>();
  auto* cmd = group.add_subcommand("list", helpText(kHelpList));
  addStationOptions(cmd, *choice);
  cmd->callback([&ctx, choice] {
    auto open = openStation(ctx, *choice, "fuel list");
    if (!open) return;
    const reports::FuelCustomers all = reports::readFuelCustomers(*ctx.env.files, open->dir);
    printProblems(ctx, "fuel list", all.problems);
    for (const reports::FuelCustomer& c : all.customers) {
      *ctx.out << reports::formatLine(
          "%-25s\t%8d\n", {std::string_view(c.lastName), static_cast<long long>(c.number)});
    }
    ctx.exitCode = kExitOk;
  });
}

struct NumberOptions {
  StationChoice choice;
  std::string number;
  bool yes = false;
};

// The estimate line of a customer, or the reason there is none.
platform::Result<std::string> estimateLine(CommandContext& ctx, const OpenStation& open,
                                           const reports::FuelCustomer& c, std::string& note) {
  auto db = openDatabase(ctx, open.dir, "fuel estimate");
  reports::FuelDays days(*db, reports::FuelMethod::fromStation(open.state.config));
  auto e = reports::estimateFuel(days, c);
  if (!e) return e.status();
  if (e->noLaterData) note = platform::loadString(ft::kNeedLaterData);
  return reports::estimateText(*e, open.conventions.intl);
}

void addShowOrEstimate(CLI::App& group, CommandContext& ctx, bool show) {
  auto o = std::make_shared<NumberOptions>();
  auto* cmd =
      group.add_subcommand(show ? "show" : "estimate", helpText(show ? kHelpShow : kHelpEstimate));
  addStationOptions(cmd, o->choice);
  cmd->add_option("--number", o->number, helpText(kHelpNumber))->required();
  cmd->callback([&ctx, o, show] {
    const std::string command = show ? "fuel show" : "fuel estimate";
    const auto n = numberOption(ctx, command, o->number);
    if (!n) return;
    auto open = openStation(ctx, o->choice, command);
    if (!open) return;
    auto c = reports::readFuelCustomer(*ctx.env.files, open->dir, *n);
    if (!c) {
      ctx.exitCode = reportFailure(ctx, command, c.status());
      return;
    }
    if (show) {
      const platform::IntlSettings& intl = open->conventions.intl;
      *ctx.out << text(ft::kFullName,
                       {platform::stringText(ft::kFullLabel), std::string_view(c->lastName),
                        std::string_view(c->firstName), static_cast<long long>(c->number)})
               << text(ft::kFullStreet, {std::string_view(c->street)})
               << text(ft::kFullCity, {std::string_view(c->city), std::string_view(c->state),
                                       std::string_view(c->postalCode)})
               << text(ft::kFullReading,
                       {static_cast<double>(c->reading),
                        quantities::shortDateText(
                            records::DateTime::fromDate(c->readingDate.year, c->readingDate.month,
                                                        c->readingDate.day),
                            intl)})
               << text(ft::kFullK,
                       {c->kFactorUsable()
                            ? reports::formatLine("%.2f", {static_cast<double>(c->kFactor)})
                            : std::string("---")})
               << (c->heaterOn ? text(ft::kFullHeater, {static_cast<double>(c->heaterGallons)})
                               : platform::loadString(ft::kFullNoHeater));
      for (const std::string* comment : {&c->comment1, &c->comment2})
        if (!comment->empty()) *ctx.out << text(ft::kFullComment, {std::string_view(*comment)});
    }
    std::string note;
    auto line = estimateLine(ctx, *open, *c, note);
    if (!line) {
      ctx.exitCode =
          show ? (*ctx.err << "stratalog " << command << ": " << line.status().message() << "\n",
                  kExitOk)
               : reportFailure(ctx, command, line.status());
      return;
    }
    if (!note.empty()) *ctx.err << "stratalog " << command << ": " << note << "\n";
    *ctx.out << platform::stringText(ft::kEstimateLabel) << " " << *line << "\n";
    ctx.exitCode = kExitOk;
  });
}

void addDelete(CLI::App& group, CommandContext& ctx) {
  auto o = std::make_shared<NumberOptions>();
  auto* cmd = group.add_subcommand("delete", helpText(kHelpDelete));
  addStationOptions(cmd, o->choice);
  cmd->add_option("--number", o->number, helpText(kHelpNumber))->required();
  cmd->add_flag("--yes", o->yes, helpText(kHelpYes));
  cmd->callback([&ctx, o] {
    const std::string command = "fuel delete";
    const auto n = numberOption(ctx, command, o->number);
    if (!n) return;
    auto open = openStation(ctx, o->choice, command);
    if (!open) return;
    const reports::FuelCustomers all = reports::readFuelCustomers(*ctx.env.files, open->dir);
    if (all.customers.empty() && !ctx.env.files->exists(reports::fuelCustomerPath(open->dir, *n))) {
      *ctx.err << "stratalog " << command << ": " << platform::loadString(ft::kNoCustomersToDelete)
               << "\n";
      ctx.exitCode = kExitFailed;
      return;
    }
    auto c = reports::readFuelCustomer(*ctx.env.files, open->dir, *n);
    // An unreadable file can still be deleted; it is named by its number alone.
    const std::string name = c ? c->lastName : std::string();
    if (!c && c.status().kind() == platform::Errc::kNotFound) {
      ctx.exitCode = reportFailure(ctx, command, c.status());
      return;
    }
    if (!o->yes) {
      auto ui = platform::makeUserInterface(*ctx.env.files, *ctx.env.clock);
      if (!ui->question(
              platform::loadString(ft::kDemandTitle),
              text(ft::kDeleteQuestion, {std::string_view(name), static_cast<long long>(*n)}))) {
        *ctx.err << "stratalog " << command << ": " << platform::loadString(ft::kNothingDeleted)
                 << "\n";
        ctx.exitCode = kExitFailed;
        return;
      }
    }
    if (platform::Status s = reports::deleteFuelCustomer(*ctx.env.files, open->dir, *n); !s) {
      ctx.exitCode = reportFailure(ctx, command, s);
      return;
    }
    *ctx.out << text(ft::kDeleted, {static_cast<long long>(*n)}) << "\n";
    ctx.exitCode = kExitOk;
  });
}

struct KFactorOptions {
  StationChoice choice;
  std::string start, end, gallons, number;
  bool allowShort = false;
};

void addKFactor(CLI::App& group, CommandContext& ctx) {
  auto o = std::make_shared<KFactorOptions>();
  auto* cmd = group.add_subcommand("kfactor", helpText(kHelpKFactor));
  addStationOptions(cmd, o->choice);
  cmd->add_option("--start", o->start, helpText(kHelpStart));
  cmd->add_option("--end", o->end, helpText(kHelpEnd));
  cmd->add_option("--gallons", o->gallons, helpText(kHelpGallons));
  cmd->add_option("--number", o->number, helpText(kHelpKNumber));
  cmd->add_flag("--allow-short-days", o->allowShort, helpText(kHelpAllowShort));
  cmd->callback([&ctx, o] {
    const std::string command = "fuel kfactor";
    std::optional<std::uint32_t> n;
    if (!o->number.empty()) {
      n = numberOption(ctx, command, o->number);
      if (!n) return;
    }
    auto open = openStation(ctx, o->choice, command);
    if (!open) return;
    std::optional<reports::FuelCustomer> customer;
    if (n) {
      auto c = reports::readFuelCustomer(*ctx.env.files, open->dir, *n);
      if (!c) {
        ctx.exitCode = reportFailure(ctx, command, c.status());
        return;
      }
      customer = std::move(*c);
    }
    const platform::IntlSettings& intl = open->conventions.intl;
    reports::KFactorInput in;
    in.startText = o->start;
    in.endText = o->end;
    in.gallonsText = o->gallons;
    in.start = quantities::parseDateOption(o->start, intl);
    if (!o->end.empty()) in.end = quantities::parseDateOption(o->end, intl);
    in.gallons = number(o->gallons);
    auto db = openDatabase(ctx, open->dir, command);
    reports::FuelDays days(*db, reports::FuelMethod::fromStation(open->state.config));
    std::unique_ptr<platform::UserInterface> ui;
    const auto ask = [&](const std::string& question) {
      if (o->allowShort) return true;
      if (!ui) ui = platform::makeUserInterface(*ctx.env.files, *ctx.env.clock);
      return ui->question(platform::loadString(ft::kKFactorTitle), question);
    };
    auto k = reports::kFactorFromDelivery(days, in, open->conventions, ask);
    if (!k) {
      ctx.exitCode = reportFailure(ctx, command, k.status());
      return;
    }
    const std::string kText = reports::formatLine("%.2f", {*k});
    *ctx.out << kText << "\n";
    if (customer) {
      customer->kFactor = static_cast<float>(*k);
      if (platform::Status s =
              reports::saveFuelCustomer(*ctx.env.files, open->dir, *customer, customer->number);
          !s) {
        ctx.exitCode = reportFailure(ctx, command, s);
        return;
      }
      *ctx.out << text(ft::kKSaved, {static_cast<long long>(*n), std::string_view(kText)}) << "\n";
    }
    ctx.exitCode = kExitOk;
  });
}

struct ReportOptions {
  StationChoice choice;
  std::string sort, below, output, today;
  bool full = false, abbreviated = false, all = false;
};

void addReport(CLI::App& group, CommandContext& ctx) {
  auto o = std::make_shared<ReportOptions>();
  auto* cmd = group.add_subcommand("report", helpText(kHelpReport));
  addStationOptions(cmd, o->choice);
  auto* full = cmd->add_flag("--full", o->full, helpText(kHelpFull));
  auto* abbreviated = cmd->add_flag("--short", o->abbreviated, helpText(kHelpShort));
  full->excludes(abbreviated);
  auto* sort = cmd->add_option("--sort", o->sort, helpText(kHelpSort));
  auto* below = cmd->add_option("--below", o->below, helpText(kHelpBelow));
  auto* all = cmd->add_flag("--all", o->all, helpText(kHelpAll));
  below->excludes(all);
  cmd->add_option("--output", o->output, helpText(kHelpOutput));
  cmd->add_option("--today", o->today, helpText(kHelpToday));
  cmd->callback([&ctx, o, sort, below] {
    const std::string command = "fuel report";
    auto open = openStation(ctx, o->choice, command);
    if (!open) return;
    reports::FuelReportOptions options =
        reports::FuelReportOptions::fromStation(open->state.config);
    const reports::FuelReportOptions stored = options;
    if (o->full) options.full = true;
    if (o->abbreviated) options.full = false;
    if (sort->count() > 0) {
      if (o->sort != "name" && o->sort != "gallons") {
        return usageError(
            ctx, command,
            text(kMsgBadOption, {std::string_view("--sort"), std::string_view(o->sort)}));
      }
      options.sortByName = o->sort == "name";
    }
    if (below->count() > 0) {
      const auto g = number(o->below);
      if (!g)
        return usageError(ctx, command, text(ft::kBadThreshold, {std::string_view(o->below)}));
      if (*g <= 0.0)
        return usageError(ctx, command,
                          text(ft::kThresholdNotPositive, {std::string_view(o->below)}));
      options.onlyBelow = true;
      options.threshold = *g;
    }
    if (o->all) options.onlyBelow = false;
    quantities::Date day = today(ctx);
    if (!o->today.empty()) {
      auto d = dateArgument(ctx, open->conventions, "--today", o->today);
      if (!d) return;
      day = *d;
    }
    if (options.full != stored.full || options.sortByName != stored.sortByName ||
        options.onlyBelow != stored.onlyBelow || options.threshold != stored.threshold) {
      options.store(open->state.config);
      // The report is still written when the choices cannot be kept.
      (void)saveSettings(ctx, command, *open);
    }
    auto db = openDatabase(ctx, open->dir, command);
    const reports::FuelReportJob job{*ctx.env.files, *db, open->state.config, open->conventions,
                                     day};
    auto written = reports::writeFuelReport(job, options, o->output);
    if (!written) {
      ctx.exitCode = reportFailure(ctx, command, written.status());
      return;
    }
    printProblems(ctx, command, written->problems);
    *ctx.out << written->path << "\n";
    auto ui = platform::makeUserInterface(*ctx.env.files, *ctx.env.clock);
    ui->showTextFile(platform::loadString(ft::kReportWindowTitle), written->path);
    ctx.exitCode = kExitOk;
  });
}

struct SettingsOptions {
  StationChoice choice;
  std::string method, base;
};

void addSettings(CLI::App& group, CommandContext& ctx) {
  auto o = std::make_shared<SettingsOptions>();
  auto* cmd = group.add_subcommand("settings", helpText(kHelpSettings));
  addStationOptions(cmd, o->choice);
  auto* method = cmd->add_option("--method", o->method, helpText(kHelpMethod));
  auto* base = cmd->add_option("--base", o->base, helpText(kHelpBase));
  cmd->callback([&ctx, o, method, base] {
    const std::string command = "fuel settings";
    if (method->count() > 0 && o->method != "maxmin" && o->method != "integration") {
      return usageError(
          ctx, command,
          text(kMsgBadOption, {std::string_view("--method"), std::string_view(o->method)}));
    }
    const std::optional<double> baseValue = base->count() > 0 ? number(o->base) : std::nullopt;
    if (base->count() > 0 && !baseValue)
      return usageError(ctx, command, text(ft::kBadBase, {std::string_view(o->base)}));
    auto open = openStation(ctx, o->choice, command);
    if (!open) return;
    station::StationConfig& config = open->state.config;
    const quantities::Units& units = open->conventions.units;
    if (baseValue) {
      const double f = units.ConvertTemp(*baseValue, 1);
      if (!std::isfinite(f) || f == -32768.0)
        return usageError(ctx, command, text(ft::kBadBase, {std::string_view(o->base)}));
      config.set(reports::data::kFuelHeatBase, static_cast<float>(f));
    }
    if (method->count() > 0) {
      config.set(reports::data::kFuelIntegration,
                 static_cast<std::uint8_t>(o->method == "integration" ? 1 : 0));
    }
    if (method->count() > 0 || baseValue) {
      if (!saveSettings(ctx, command, *open)) {
        ctx.exitCode = kExitFailed;
        return;
      }
      *ctx.out << platform::loadString(ft::kSettingsSaved) << "\n";
    }
    const reports::ReportSettings s(config);
    const reports::FuelReportOptions r = reports::FuelReportOptions::fromStation(config);
    auto yesNo = [](bool v) { return platform::loadString(v ? ft::kYes : ft::kNo); };
    *ctx.out << platform::stringText(ft::kMaxMinSwitch) << " " << yesNo(!s.fuelByIntegration())
             << "\n"
             << platform::stringText(ft::kBaseLabel) << " "
             << reports::formatLine("%.1f", {units.ConvertTemp(s.fuelHeatBase(), 0)}) << " "
             << units.tempUnitText() << "\n"
             << text(ft::kReportOptions,
                     {platform::stringText(r.full ? ft::kFull : ft::kAbbreviated),
                      platform::stringText(r.sortByName ? ft::kSortName : ft::kSortGallons),
                      r.onlyBelow ? text(ft::kOnlyBelow, {r.threshold})
                                  : platform::loadString(ft::kAllCustomers)})
             << "\n";
    ctx.exitCode = kExitOk;
  });
}

}  // namespace

void addFuelCommands(CLI::App& app, CommandContext& ctx) {
  auto* group = app.add_subcommand("fuel", helpText(kHelpGroup));
  group->require_subcommand(1);
  addList(*group, ctx);
  addShowOrEstimate(*group, ctx, true);
  addCustomerCommand(*group, ctx, true);
  addCustomerCommand(*group, ctx, false);
  addDelete(*group, ctx);
  addShowOrEstimate(*group, ctx, false);
  addKFactor(*group, ctx);
  addReport(*group, ctx);
  addSettings(*group, ctx);
}

}  // namespace cli
