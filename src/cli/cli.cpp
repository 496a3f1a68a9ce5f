#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <ostream>
#include <string_view>

#include "frame/command_line_switches.h"
#include "frame/messages.h"
#include "frame/station_argument.h"
#include "frame/user_conventions.h"
#include "platform/string_table.h"

#ifndef STRATALOG_GIT_DESCRIBE
#define STRATALOG_GIT_DESCRIBE "unknown"
#endif

namespace cli {

namespace {

constexpr int kMsgProgramTitle = 61565;
constexpr int kMsgNotACommand = 64480;
constexpr int kMsgNotAnOption = 64481;
constexpr int kMsgDidYouMean = 64482;
constexpr int kMsgSeeHelp = 64483;
constexpr int kMsgNotADate = 64500;
constexpr int kHelpStation = 64501;
constexpr int kHelpProgramDir = 64502;
constexpr int kMsgMissingOption = 64503;
constexpr int kMsgMissingCommand = 64504;
constexpr int kMsgBadValue = 64505;
constexpr int kMsgMissingValue = 64506;
constexpr int kMsgUnexpectedWord = 64507;
constexpr int kMsgBadCommandLine = 64508;
constexpr int kMsgNotAStationSwitch = 64509;
constexpr int kMsgNotAProgramSwitch = 64510;
constexpr int kHelpTitle = 64511;
constexpr int kHelpFooter = 64512;
constexpr int kHelpVersion = 64513;
constexpr int kHelpHelp = 64514;
constexpr int kLabelUsage = 64515;
constexpr int kLabelOptions = 64516;
constexpr int kLabelCommand = 64517;
constexpr int kLabelCommands = 64518;
constexpr int kLabelPositionals = 64519;
constexpr int kLabelRequired = 64520;
constexpr int kLabelNeeds = 64521;
constexpr int kLabelExcludes = 64522;
constexpr int kLabelText = 64523;
constexpr int kLabelInteger = 64524;
constexpr int kLabelNumber = 64525;
constexpr int kGroupOptions = 64526;
constexpr int kGroupCommands = 64527;
constexpr int kLabelRange = 64528;

// Optimal string alignment distance: a swap of two neighbouring letters counts as one edit,
// since that is the commonest slip in a typed name ("downlaod").
std::size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

// The candidate nearest `word` when it is near enough to be what was meant; empty when
// none is (a suggestion far from the word would only mislead).
std::string nearest(std::string_view word, const std::vector<std::string>& candidates) {
  const std::size_t limit = 1 + word.size() / 5;
  std::string best;
  std::size_t bestDistance = limit + 1;
  for (const std::string& c : candidates) {
    const std::size_t d = editDistance(word, c);
    if (d < bestDistance) {
      bestDistance = d;
      best = c;
    }
  }
  return best;
}

std::vector<std::string> subcommandNames(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; })) {
    names.push_back(sub->get_name());
  }
  return names;
}

std::vector<std::string> optionNames(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::Option* opt : app.get_options()) {
    for (const std::string& l : opt->get_lnames()) names.push_back("--" + l);
    for (const std::string& s : opt->get_snames()) names.push_back("-" + s);
  }
  return names;
}

// A word of the line that names nothing where it stands: "where" is the command it was
// given to ("stratalog", "stratalog station").
struct UnknownWord {
  std::string word;
  std::string where;
  bool isOption = false;
  std::string suggestion;
};

bool looksLikeNumber(const std::string& word) {
  return word.size() > 1 && word[0] == '-' &&
         (std::isdigit(static_cast<unsigned char>(word[1])) || word[1] == '.');
}

// CLI11 reports what it checks first (a missing required option), which hides a misspelt
// option or subcommand; this finds the first word the commands do not know.
std::optional<UnknownWord> findUnknownWord(const CLI::App& app,
                                           const std::vector<std::string>& args) {
  const CLI::App* current = &app;
  std::string where = "stratalog";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "--") break;
    if (word.size() > 1 && word[0] == '-' && !looksLikeNumber(word)) {
      const std::size_t eq = word.find('=');
      const std::string name = word.substr(0, eq);
      const CLI::Option* opt = current->get_option_no_throw(name);
      if (opt == nullptr) {
        return UnknownWord{name, where, true, nearest(name, optionNames(*current))};
      }
      if (opt->get_type_size_max() > 0 && eq == std::string::npos) ++i;  // its value
      continue;
    }
    const CLI::App* sub = nullptr;
    for (const CLI::App* s : current->get_subcommands([](const CLI::App*) { return true; })) {
      if (s->check_name(word)) sub = s;
    }
    if (sub != nullptr) {
      current = sub;
      where += " " + sub->get_name();
      continue;
    }
    const bool takesWords =
        !current->get_options([](const CLI::Option* o) { return !o->nonpositional(); }).empty();
    if (!takesWords && !subcommandNames(*current).empty()) {
      return UnknownWord{word, where, false, nearest(word, subcommandNames(*current))};
    }
  }
  return std::nullopt;
}

int reportUnknownWord(const UnknownWord& unknown, CommandContext& ctx) {
  *ctx.err << "stratalog: "
           << frame::fillText(
                  platform::loadString(unknown.isOption ? kMsgNotAnOption : kMsgNotACommand),
                  {unknown.word, unknown.where});
  if (!unknown.suggestion.empty()) {
    *ctx.err << " " << frame::fillText(platform::loadString(kMsgDidYouMean), {unknown.suggestion});
  }
  *ctx.err << "\n" << platform::loadString(kMsgSeeHelp) << "\n";
  return kExitUsage;
}

// STATION first (when the line does not start with a switch), then only the switches.
// A first word that is not a station but a misspelt command is reported as such.
int runProgramLine(const std::vector<std::string>& args, const CLI::App& app, CommandContext& ctx) {
  bool anyStationSwitch = false;
  bool allSwitches = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    bool isSwitch = frame::isProgramSwitch(args[i]);
    if (!isSwitch && i > 0) allSwitches = false;
    if (isSwitch && args[i] != "-p" && args[i] != "-P") anyStationSwitch = true;
  }
  if (!args.empty() && !frame::isProgramSwitch(args.front()) &&
      !(allSwitches && anyStationSwitch)) {
    const std::string& first = args.front();
    const std::string suggestion = first.empty() || first.front() == '-'
                                       ? nearest(first, optionNames(app))
                                       : nearest(first, subcommandNames(app));
    if (!suggestion.empty()) {
      return reportUnknownWord(
          UnknownWord{first, "stratalog", !first.empty() && first.front() == '-', suggestion}, ctx);
    }
  }
  anyStationSwitch = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    bool isSwitch = frame::isProgramSwitch(args[i]);
    if (!isSwitch && !(i == 0 && !args[i].empty() && args[i].front() != '-')) {
      *ctx.err << "stratalog: "
               << frame::fillText(platform::loadString(kMsgNotAProgramSwitch), {args[i]}) << "\n"
               << platform::loadString(kMsgSeeHelp) << "\n";
      return kExitUsage;
    }
    if (isSwitch && args[i] != "-p" && args[i] != "-P") anyStationSwitch = true;
  }
  if (!args.empty() && !frame::isProgramSwitch(args.front()) && !anyStationSwitch) {
    *ctx.err << "stratalog: "
             << frame::fillText(platform::loadString(kMsgNotAStationSwitch), {args.front()})
             << "\n"
             << platform::loadString(kMsgSeeHelp) << "\n";
    return kExitUsage;
  }
  return runProgramCommand(args, "", ctx);
}

// The labels CLI11 prints in its help, in the program's language.
void useSpanishHelpLabels(CLI::App& app) {
  auto formatter = std::make_shared<CLI::Formatter>();
  for (auto [key, id] : {std::pair{"Usage", kLabelUsage}, {"OPTIONS", kLabelOptions},
                         {"SUBCOMMAND", kLabelCommand}, {"SUBCOMMANDS", kLabelCommands},
                         {"Positionals", kLabelPositionals}, {"REQUIRED", kLabelRequired},
                         {"Needs", kLabelNeeds}, {"Excludes", kLabelExcludes}}) {
    formatter->label(key, platform::loadString(id));
  }
  app.formatter(formatter);
  app.set_help_flag("-h,--help", helpText(kHelpHelp));
}

// A range check's description ("INT in [1 - 9]") in the program's language.
std::string rangeText(const std::string& description) {
  const std::size_t open = description.find(" in [");
  const std::size_t dash = description.find(" - ", open);
  const std::size_t close = description.rfind(']');
  if (open == std::string::npos || dash == std::string::npos || close == std::string::npos ||
      close < dash) {
    return description;
  }
  return frame::fillText(platform::loadString(kLabelRange),
                         {description.substr(open + 5, dash - open - 5),
                          description.substr(dash + 3, close - dash - 3)});
}

// The type names of values ("TEXT", "INT") and the group titles, once every command is
// registered: CLI11 gives each subcommand and option its own copy.
void translateHelp(CLI::App& app) {
  if (app.get_parent() != nullptr && app.get_group() == "Subcommands") {
    app.group(platform::loadString(kGroupCommands));
  }
  for (CLI::Option* opt : app.get_options()) {
    if (opt->get_group() == "Options") opt->group(platform::loadString(kGroupOptions));
    // The type name comes back with the checks' descriptions after it ("INT:INT in [1 - 9]").
    std::string type = opt->get_type_name();
    type = type.substr(0, type.find(':'));
    for (auto [from, id] : {std::pair{"TEXT", kLabelText}, {"UINT", kLabelInteger},
                            {"INT", kLabelInteger}, {"FLOAT", kLabelNumber}}) {
      if (type.rfind(from, 0) == 0) {
        opt->type_name(platform::loadString(id) + type.substr(std::string_view(from).size()));
        break;
      }
    }
    for (int i = 0;; ++i) {
      CLI::Validator* check = nullptr;
      try {
        check = opt->get_validator(i);
      } catch (const CLI::OptionNotFound&) {
        break;
      }
      check->description(rangeText(check->get_description()));
    }
  }
  for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) translateHelp(*sub);
}

// The innermost command the line reached, for messages about what it lacks.
const CLI::App& innermostCommand(const CLI::App& app) {
  for (const CLI::App* sub : app.get_subcommands()) return innermostCommand(*sub);
  return app;
}

std::string commandPath(const CLI::App& app) {
  std::string path = app.get_name();
  for (const CLI::App* p = app.get_parent(); p != nullptr; p = p->get_parent()) {
    path = p->get_name() + " " + path;
  }
  return path;
}

// The first option name ("--minute") in a CLI11 message, which names the option first.
std::string optionNamedIn(const std::string& message) {
  for (std::size_t i = 0; i + 1 < message.size(); ++i) {
    if (message[i] == '-' && (i == 0 || message[i - 1] == ' ') &&
        (std::isalpha(static_cast<unsigned char>(message[i + 1])) || message[i + 1] == '-')) {
      std::size_t end = i;
      while (end < message.size() &&
             (std::isalnum(static_cast<unsigned char>(message[end])) || message[end] == '-')) {
        ++end;
      }
      return message.substr(i, end - i);
    }
  }
  return {};
}

// CLI11's own messages are English; the person is told the same in Spanish.
std::string usageErrorText(const CLI::ParseError& e, const CLI::App& app) {
  const CLI::App& command = innermostCommand(app);
  const std::string message = e.what();
  const std::string option = optionNamedIn(message);
  const CLI::Option* opt = option.empty() ? nullptr : command.get_option_no_throw(option);
  const std::string kind = e.get_name();
  if (kind == "RequiredError") {
    if (opt != nullptr) return frame::fillText(platform::loadString(kMsgMissingOption), {option});
    std::string names;
    for (const std::string& n : subcommandNames(command)) names += (names.empty() ? "" : ", ") + n;
    if (!names.empty()) {
      return frame::fillText(platform::loadString(kMsgMissingCommand), {commandPath(command), names});
    }
    // A required positional: CLI11 names it first ("minutes is required").
    const std::string positional = message.substr(0, message.find(' '));
    return frame::fillText(platform::loadString(kMsgMissingOption), {positional});
  }
  if ((kind == "ValidationError" || kind == "ConversionError") && opt != nullptr) {
    std::string value;
    for (const std::string& r : opt->results()) value += (value.empty() ? "" : " ") + r;
    return frame::fillText(platform::loadString(kMsgBadValue),
                           {value, option, opt->get_description()});
  }
  if (kind == "ArgumentMismatch" && opt != nullptr) {
    return frame::fillText(platform::loadString(kMsgMissingValue), {option});
  }
  if (kind == "ExtrasError") {
    std::string extras;
    for (const std::string& r : command.remaining()) extras += (extras.empty() ? "" : " ") + r;
    return frame::fillText(platform::loadString(kMsgUnexpectedWord), {extras});
  }
  return frame::fillText(platform::loadString(kMsgBadCommandLine), {message});
}

}  // namespace

platform::Env commandEnv(const CommandContext& ctx, const std::string& programDir) {
  platform::Env env = ctx.env;
  if (env.serialPorts == &platform::defaultSerialPortOpener()) {
    env.serialPorts = &platform::serialPortOpenerFor(programDirectory(programDir));
  }
  return env;
}

frame::RunOptions runOptions(const CommandContext& ctx, const std::string& programDir) {
  frame::RunOptions options;
  options.env = commandEnv(ctx, programDir);
  options.programDirectory = frame::resolveProgramDirectory(programDir);
  options.out = ctx.out;
  options.err = ctx.err;
  options.journal = ctx.journal;
  return options;
}

void addProgramDirOption(CLI::App* command, std::string& programDir) {
  command->add_option("--program-dir", programDir, helpText(kHelpProgramDir));
}

void addStationOptions(CLI::App* command, StationChoice& choice) {
  command->add_option("--station", choice.station, helpText(kHelpStation));
  addProgramDirOption(command, choice.programDir);
}

namespace {

bool resolveNamedStation(CommandContext& ctx, StationChoice& choice, bool monthFilesSuffice) {
  auto dir = frame::resolveStationArgument(*ctx.env.files, programDirectory(choice.programDir),
                                           choice.station, monthFilesSuffice);
  if (!dir) {
    *ctx.err << "stratalog: " << dir.status().message() << "\n";
    ctx.exitCode = kExitUsage;
    return false;
  }
  choice.station = *dir;
  return true;
}

}  // namespace

bool resolveStation(CommandContext& ctx, StationChoice& choice) {
  return resolveNamedStation(ctx, choice, false);
}

bool resolveDataStation(CommandContext& ctx, StationChoice& choice) {
  return resolveNamedStation(ctx, choice, true);
}

std::string programDirectory(const std::string& programDir) {
  return frame::resolveProgramDirectory(programDir);
}

quantities::UserConventions userConventions(const CommandContext& ctx,
                                            const std::string& programDir) {
  return frame::readUserConventions(*ctx.env.files, programDirectory(programDir));
}

std::optional<quantities::Date> dateArgument(CommandContext& ctx,
                                             const quantities::UserConventions& conventions,
                                             const std::string& option, const std::string& text) {
  auto date = quantities::parseDateOption(text, conventions.intl);
  if (!date) {
    const std::string example = quantities::shortDateText(
        records::DateTime::fromDate(2006, 7, 15), conventions.intl);
    *ctx.err << "stratalog: "
             << frame::fillText(platform::loadString(kMsgNotADate), {text, option, example})
             << "\n";
    ctx.exitCode = kExitUsage;
  }
  return date;
}

std::optional<int> digitsArgument(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

std::optional<reports::YearMonth> monthArgument(std::string_view text) {
  if (text.size() != 7 || text[4] != '-') return std::nullopt;
  const auto year = digitsArgument(text.substr(0, 4));
  const auto month = digitsArgument(text.substr(5, 2));
  if (!year || !month || *year < 1 || *month < 1 || *month > 12) return std::nullopt;
  return reports::YearMonth{*year, *month};
}

std::optional<int> yearArgument(std::string_view text) {
  if (text.size() != 4) return std::nullopt;
  const auto year = digitsArgument(text);
  if (!year || *year < 1) return std::nullopt;
  return year;
}

void usageError(CommandContext& ctx, const std::string& command, const std::string& message) {
  ctx.exitCode = commandFailure(ctx, command, message, kExitUsage);
}

int commandFailure(CommandContext& ctx, const std::string& command, const std::string& message,
                   int exitCode) {
  *ctx.err << "stratalog " << command << ": " << message << "\n";
  return exitCode;
}

int reportFailure(CommandContext& ctx, const std::string& command, const platform::Status& s) {
  *ctx.err << "stratalog " << command << ": " << s.message() << "\n";
  return s.kind() == platform::Errc::kBadArgument ? kExitUsage : kExitFailed;
}

std::string helpText(int id) { return platform::loadString(id); }

namespace {

// Every command, with the Spanish help of the whole tree.
void registerCommands(CLI::App& app, CommandContext& ctx) {
  useSpanishHelpLabels(app);
  app.require_subcommand(0, 1);
  // Answered before parsing (below); declared so that the help lists it.
  app.add_flag("--version")->description(helpText(kHelpVersion));
  addDbCommands(app, ctx);
  addLogCommands(app, ctx);
  addConsoleCommands(app, ctx);
  addRunCommands(app, ctx);
  addStationsCommands(app, ctx);
  addScheduleCommands(app, ctx);
  addSummaryCommands(app, ctx);
  addStationCommands(app, ctx);
  addDownloadCommands(app, ctx);
  addCurrentCommands(app, ctx);
  addReportCommands(app, ctx);
  addFuelCommands(app, ctx);
  addExportCommands(app, ctx);
  addTemplateCommands(app, ctx);
  addAprsCommands(app, ctx);
  addWuCommands(app, ctx);
  addInetCommands(app, ctx);
  addProfileCommands(app, ctx);
  addUploadCommands(app, ctx);
  addImagesCommands(app, ctx);

  translateHelp(app);
  app.footer(helpText(kHelpFooter));
}

void visitCommands(const std::string& path, const CLI::App& app,
                   const std::function<void(const std::string&, const CLI::App&)>& visit) {
  for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; })) {
    const std::string subPath = path.empty() ? sub->get_name() : path + " " + sub->get_name();
    if (sub->get_subcommands([](const CLI::App*) { return true; }).empty()) {
      visit(subPath, *sub);
    } else {
      visitCommands(subPath, *sub, visit);
    }
  }
}

}  // namespace

void forEachCommand(const std::function<void(const std::string& path, const CLI::App&)>& visit) {
  CommandContext ctx;
  CLI::App app{helpText(kHelpTitle), "stratalog"};
  registerCommands(app, ctx);
  visitCommands({}, app, visit);
}

int runCommandLine(const std::vector<std::string>& args, CommandContext& ctx) {
  ctx.args = args;
  CLI::App app{helpText(kHelpTitle), "stratalog"};
  registerCommands(app, ctx);

  // The program's own command line: a station and whole-argument switches, never a
  // subcommand. A station path that holds "-d" is only ever the station.
  if (args.size() == 1 && args.front() == "--version") {
    *ctx.out << platform::loadString(kMsgProgramTitle) << " (" << STRATALOG_GIT_DESCRIBE << ")\n";
    return kExitOk;
  }
  bool subcommand = false;
  if (!args.empty()) {
    for (const CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
      if (sub->check_name(args.front())) subcommand = true;
    }
  }
  if (args.empty() || (!subcommand && args.front() != "-h" && args.front() != "--help" &&
                       args.front() != "--help-all")) {
    return runProgramLine(args, app, ctx);
  }

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp& e) {
    *ctx.out << app.help();
    return kExitOk;
  } catch (const CLI::CallForAllHelp& e) {
    *ctx.out << app.help("", CLI::AppFormatMode::All);
    return kExitOk;
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return kExitOk;
    if (auto unknown = findUnknownWord(app, args)) return reportUnknownWord(*unknown, ctx);
    *ctx.err << "stratalog: " << usageErrorText(e, app) << "\n";
    *ctx.err << platform::loadString(kMsgSeeHelp) << "\n";
    return kExitUsage;
  } catch (const std::exception& e) {
    *ctx.err << "stratalog: " << e.what() << "\n";
    return kExitFailed;
  }
  if (app.get_subcommands().empty()) {
    *ctx.out << app.help();
    return kExitOk;
  }
  return ctx.exitCode;
}

}  // namespace cli
