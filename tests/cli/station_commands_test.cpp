// "stratalog download" and "stratalog current" as a station owner runs them, on the real
// file system and the in-process console.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "platform/event_loop.h"

namespace frame {
namespace {

class StationCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("stratalog-commands-" +
            std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  void startConsole(std::vector<const char*> faults = {}) {
    clock_.setLocal(2006, 3, 15, 23, 50);
    consolesim::EngineOptions o;
    o.historyDays = 2;
    o.archiveIntervalMinutes = 30;
    for (const char* f : faults) o.faults.push_back(*consolesim::parseFaultRule(f));
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock_, o);
    opener_ = std::make_unique<consolesim::SimSerialPortOpener>(*engine_, clock_);
  }

  struct Run {
    int exitCode;
    std::string out;
    std::string err;
  };
  Run run(std::vector<std::string> args) {
    std::ostringstream out, err;
    platform::Env env;
    env.clock = &clock_;
    env.serialPorts = opener_.get();
    cli::CommandContext ctx{env, &out, &err};
    const int code = cli::runCommandLine(args, ctx);
    return {code, out.str(), err.str()};
  }
  // A new station made the way an owner makes one; returns its directory.
  std::string createStation() {
    Run created = run({"station", "create", "--name", "Cumbre", "--parent", dir_.string()});
    EXPECT_EQ(created.exitCode, 0) << created.err;
    return (dir_ / "Cumbre").string();
  }
  std::vector<std::string> at(std::vector<std::string> args, const std::string& station) {
    args.insert(args.end(), {"--station", station, "--program-dir", dir_.string()});
    return args;
  }

  std::filesystem::path dir_;
  platform::FakeClock clock_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<consolesim::SimSerialPortOpener> opener_;
};

TEST_F(StationCommands, DownloadStoresTheArchiveOnceAndCurrentShowsTheBulletin) {
  startConsole();
  const std::string station = createStation();
  const std::string stored = std::to_string(engine_->archive().recordCount());

  Run first = run(at({"download"}, station));
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_EQ(first.out, stored + " registros nuevos guardados\n");
  Run second = run(at({"download"}, station));
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(second.out, "0 registros nuevos guardados\n");

  Run current = run(at({"current"}, station));
  ASSERT_EQ(current.exitCode, 0) << current.err;
  EXPECT_EQ(current.out.rfind("Cumbre  15-03-06 23:5", 0), 0U) << current.out;
  EXPECT_NE(current.out.find("\nTemperatura Exterior "), std::string::npos) << current.out;
  EXPECT_NE(current.out.find("\nBarómetro "), std::string::npos) << current.out;
}

TEST_F(StationCommands, ASilentConsoleFailsBothCommandsWithTheLinkError) {
  startConsole({"no-reply@1*0"});
  const std::string station = createStation();
  Run download = run(at({"download"}, station));
  EXPECT_EQ(download.exitCode, 1);
  EXPECT_NE(download.err.find("0 registros nuevos guardados"), std::string::npos) << download.err;
  Run current = run(at({"current"}, station));
  EXPECT_EQ(current.exitCode, 1);
  EXPECT_EQ(current.out, "");
  EXPECT_NE(current.err.find("stratalog current: "), std::string::npos) << current.err;
}

// With no terminal the new password cannot be typed: the command says so, whatever the
// console keeps, and the console (which has no password) is left as it was.
TEST_F(StationCommands, PasswordSetWithoutATerminalSaysTheNewPasswordWasNotTyped) {
  if (platform::standardInputIsTerminal()) GTEST_SKIP() << "needs standard input that is no terminal";
  startConsole();
  const std::string station = createStation();
  Run r = run(at({"stations", "password", "set"}, station));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("No se ha escrito la contraseña nueva"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("protegida"), std::string::npos) << r.err;
  EXPECT_EQ(engine_->memory().byte(0xFFE), 0xFF);
  EXPECT_EQ(engine_->memory().byte(0xFFF), 0xFF);
}

// "station delete": with --yes the station leaves download.lst and the disk; without it,
// where no one can answer (standard input is not a terminal here), nothing changes.
class StationDelete : public StationCommands {
 protected:
  void SetUp() override {
    StationCommands::SetUp();
    startConsole();
    station_ = createStation();
    other_ = (dir_ / "Otra").string();
    std::ofstream(dir_ / "download.lst", std::ios::binary) << other_ << "\n" << station_ << "\n";
  }
  std::string downloadList() const {
    std::ifstream in(dir_ / "download.lst", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::vector<std::string> deleteArgs(std::vector<std::string> extra) {
    std::vector<std::string> args{"station", "delete",        "--station",
                                  station_,  "--program-dir", dir_.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }
  std::string station_, other_;
};

TEST_F(StationDelete, YesRemovesTheStationFromTheListAndTheDisk) {
  Run r = run(deleteArgs({"--yes"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_FALSE(std::filesystem::exists(station_));
  EXPECT_EQ(downloadList(), other_ + "\n");
}

TEST_F(StationDelete, WithoutYesNothingIsDeletedAndItFails) {
  Run r = run(deleteArgs({}));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("No se ha eliminado la estación '" + station_ + "'"), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("--yes"), std::string::npos) << r.err;
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(station_) / "STATION.CFG"));
  EXPECT_EQ(downloadList(), other_ + "\n" + station_ + "\n");
}

// Named by its display name, the station is found through the station list; named by its
// directory, it is deleted even when its settings no longer read.
TEST_F(StationDelete, ByDisplayNameOrByTheDirectoryOfABrokenStation) {
  Run byName =
      run({"station", "delete", "--station", "Cumbre", "--program-dir", dir_.string(), "--yes"});
  ASSERT_EQ(byName.exitCode, 0) << byName.err;
  EXPECT_FALSE(std::filesystem::exists(station_));
  EXPECT_EQ(downloadList(), other_ + "\n");

  station_ = createStation();
  std::ofstream(std::filesystem::path(station_) / "STATION.CFG", std::ios::binary) << "roto";
  Run broken = run(deleteArgs({"--yes"}));
  ASSERT_EQ(broken.exitCode, 0) << broken.err;
  EXPECT_FALSE(std::filesystem::exists(station_));
}

}  // namespace
}  // namespace frame
