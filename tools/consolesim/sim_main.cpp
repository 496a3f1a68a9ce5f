// stratalog-sim: serves a simulated console on a pseudo-terminal until SIGINT or SIGTERM.
// The first line of standard output is the device path to give the program.

#include <CLI/CLI.hpp>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "consolesim/console_engine.h"
#include "consolesim/pty_server.h"
#include "consolesim/sim_options.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/pseudo_terminal.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

extern "C" void onStopSignal(int) { gStop = 1; }

// Points `link` at `target`, replacing an older link in one step.
bool makeLink(const std::string& target, const std::string& link, std::string& error) {
  std::error_code ec;
  const std::string temp = link + ".tmp";
  std::filesystem::remove(temp, ec);
  std::filesystem::create_symlink(target, temp, ec);
  if (!ec) std::filesystem::rename(temp, link, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    error = ec.message();
    return false;
  }
  return true;
}

int serve(const consolesim::SimArguments& args, const std::string& pathFile,
          const std::string& link) {
  auto options = consolesim::toEngineOptions(args);
  if (!options) {
    std::cerr << "stratalog-sim: " << options.status().message() << "\n";
    return 2;
  }
  auto pty = platform::PseudoTerminal::open();
  if (!pty) {
    std::cerr << "stratalog-sim: " << pty.status().message() << "\n";
    return 1;
  }
  platform::Clock& clock = platform::systemClock();
  consolesim::ConsoleEngine engine(clock, *options);
  const std::string& path = (*pty)->slavePath();
  if (!pathFile.empty()) {
    platform::Status s = platform::defaultFileSystem().replaceFileAtomically(pathFile, path + "\n");
    if (!s.isOk()) {
      std::cerr << "stratalog-sim: writing " << pathFile << ": " << s.message() << "\n";
      return 1;
    }
  }
  if (!link.empty()) {
    std::string error;
    if (!makeLink(path, link, error)) {
      std::cerr << "stratalog-sim: linking " << link << " to " << path << ": " << error << "\n";
      return 1;
    }
  }
  std::cout << path << std::endl;

  std::signal(SIGINT, onStopSignal);
  std::signal(SIGTERM, onStopSignal);
  consolesim::PtyServer server(engine, **pty, clock);
  const platform::Status s = server.run([] { return gStop != 0; });
  if (!link.empty()) {
    std::error_code ec;
    std::filesystem::remove(link, ec);
  }
  if (!s.isOk()) {
    std::cerr << "stratalog-sim: " << s.message() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Simulated weather-station console on a pseudo-terminal. Prints the device path "
      "on the first line, then serves until interrupted."};
  consolesim::SimArguments args;
  std::string pathFile;
  std::string link;
  app.add_option("--seed", args.seed, "Seed of the weather model and of random faults");
  app.add_option("--model", args.model, "Console model: plus (solar and UV sensors) or pro")
      ->capture_default_str();
  app.add_option("--model-code", args.modelCode, "Model byte answered to identification")
      ->capture_default_str();
  app.add_option("--interval", args.intervalMinutes, "Archive interval in minutes")
      ->capture_default_str();
  app.add_option("--days", args.historyDays, "Days of archive history to pre-fill")
      ->capture_default_str();
  app.add_option("--firmware", args.firmware,
                 "Firmware date YYYY-MM-DD (selects the record layout)")
      ->capture_default_str();
  app.add_option("--start", args.start,
                 "Console clock at start, \"YYYY-MM-DD HH:MM\" (default: local time now); the "
                 "clock then runs in real time");
  app.add_flag("--pace", args.pace, "Send at the baud rate, 10 bits a byte");
  app.add_option("--baud", args.baudRate, "Baud rate for --pace")->capture_default_str();
  app.add_option("--loop-period", args.loopPeriodMs, "Milliseconds between LOOP packets")
      ->capture_default_str();
  app.add_option("--disconnect-seconds", args.disconnectSeconds,
                 "How long the line stays dead after a disconnect fault")
      ->capture_default_str();
  app.add_option("--fault", args.faults,
                 "Fault rule NAME, NAME@N, NAME@N*K or NAME%P (repeatable). Names: " +
                     consolesim::faultNames());
  app.add_option("--path-file", pathFile, "Also write the device path to this file");
  app.add_option("--link", link, "Create this symlink to the device (removed at exit)");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 2;
  }
  try {
    return serve(args, pathFile, link);
  } catch (const std::exception& e) {
    std::cerr << "stratalog-sim: " << e.what() << "\n";
    return 1;
  }
}
