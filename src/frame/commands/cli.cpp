#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <ostream>

#include "frame/command_line_switches.h"

namespace commands {

namespace {

// STATION first (when the line does not start with a switch), then only the switches.
int runProgramLine(const std::vector<std::string>& args, CommandContext& ctx) {
  bool anyStationSwitch = false;
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
  options.programDirectory = programDir;
  if (!options.programDirectory.empty()) {
    std::error_code ec;
    auto abs = std::filesystem::absolute(options.programDirectory, ec);
    if (!ec) options.programDirectory = abs.lexically_normal().string();
  }
  options.out = ctx.out;
  options.err = ctx.err;
  return options;
}

int runCommandLine(const std::vector<std::string>& args, CommandContext& ctx) {
  CLI::App app{"Stratalog: the weather-station data logger", "stratalog"};
  app.require_subcommand(0, 1);
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
  bool subcommand = false;
  if (!args.empty()) {
    for (const CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
      if (sub->check_name(args.front())) subcommand = true;
    }
  }
  if (args.empty() || (!subcommand && args.front() != "-h" && args.front() != "--help" &&
                       args.front() != "--help-all")) {
    return runProgramLine(args, ctx);
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

}  // namespace commands
