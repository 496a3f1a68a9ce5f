#include "frame/commands/cli.h"

#include <CLI/CLI.hpp>
#include <ostream>

namespace commands {

int runCommandLine(const std::vector<std::string>& args, CommandContext& ctx) {
  CLI::App app{"Stratalog: the weather-station data logger", "stratalog"};
  app.require_subcommand(0, 1);
  addDbCommands(app, ctx);
  addLogCommands(app, ctx);
  addConsoleCommands(app, ctx);
  addSummaryCommands(app, ctx);

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
