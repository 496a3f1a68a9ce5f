#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
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
      *ctx.err << "stratalog: unknown command or switch '" << args[i] << "'\n";
      *ctx.err << "Run 'stratalog --help' for the commands.\n";
      return kExitUsage;
    }
    if (isSwitch && args[i] != "-p" && args[i] != "-P") anyStationSwitch = true;
  }
  if (!args.empty() && !frame::isProgramSwitch(args.front()) && !anyStationSwitch) {
    *ctx.err << "stratalog: unknown command '" << args.front()
             << "' (a station is named with -o, -d or -c)\n";
    *ctx.err << "Run 'stratalog --help' for the commands.\n";
    return kExitUsage;
  }
  return runProgramCommand(args, "", ctx);
}

}  // namespace

frame::RunOptions runOptions(const CommandContext& ctx, const std::string& programDir) {
  frame::RunOptions options;
  options.env = ctx.env;
  options.programDirectory = frame::resolveProgramDirectory(programDir);
  options.out = ctx.out;
  options.err = ctx.err;
  return options;
}

void addProgramDirOption(CLI::App* command, std::string& programDir) {
  command->add_option("--program-dir", programDir, helpText(kHelpProgramDir));
}

void addStationOptions(CLI::App* command, StationChoice& choice) {
  command->add_option("--station", choice.station, helpText(kHelpStation));
  addProgramDirOption(command, choice.programDir);
}

bool resolveStation(CommandContext& ctx, StationChoice& choice) {
  auto dir = frame::resolveStationArgument(*ctx.env.files, programDirectory(choice.programDir),
                                           choice.station);
  if (!dir) {
    *ctx.err << "stratalog: " << dir.status().message() << "\n";
    ctx.exitCode = kExitUsage;
    return false;
  }
  choice.station = *dir;
  return true;
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

int reportFailure(CommandContext& ctx, const std::string& command, const platform::Status& s) {
  *ctx.err << "stratalog " << command << ": " << s.message() << "\n";
  return s.kind() == platform::Errc::kBadArgument ? kExitUsage : kExitFailed;
}

std::string helpText(int id) { return platform::loadString(id); }

int runCommandLine(const std::vector<std::string>& args, CommandContext& ctx) {
  CLI::App app{"Stratalog: the weather-station data logger", "stratalog"};
  app.require_subcommand(0, 1);
  // Answered before parsing (below); declared so that the help lists it.
  app.add_flag("--version")->description("print the program's version and build, then exit");
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

  app.footer(
      "The program itself: stratalog [STATION] [-o] [-d] [-c] [-p]\n"
      "  no arguments  run the program (as 'stratalog run')\n"
      "  -o, -O        open STATION\n"
      "  -d, -D        download STATION's archive, log the result and exit (0 ok, 1 failed)\n"
      "  -c, -C        clear the selected items of STATION's console, log and exit\n"
      "  -p, -P        plot flag, consulted by the plot views\n"
      "STATION is absolute when it starts with '/', else below the current directory.");

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
    *ctx.err << "stratalog: " << e.what() << "\n";
    *ctx.err << "Run 'stratalog --help' for the commands.\n";
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
