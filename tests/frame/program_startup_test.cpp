#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "frame/program_runner.h"
#include "platform/instance_lock.h"
#include "platform/signals.h"
#include "program_fixture.h"

namespace frame {
namespace {

using testing::kProgramDir;
using testing::ProgramTest;

TEST_F(ProgramTest, FirstStartCreatesSettingsAndAsksToCreateAStation) {
  makeProgram();
  ASSERT_TRUE(program->start({}));
  EXPECT_EQ(fs.contents(std::string(kProgramDir) + "/progdata.dat").size(), 2048u);
  // A first start is no error: the only thing shown is the welcome question.
  ASSERT_EQ(ui.shown().size(), 1u);
  EXPECT_NE(ui.shown().front().text.find("Bienvenido al programa Stratalog."), std::string::npos);
  EXPECT_EQ(program->currentStation(), nullptr);
}

TEST_F(ProgramTest, OpensTheOnlyStationAndShowsItInTheTitle) {
  addStation("Casa", "Casa");
  clock.setLocal(2026, 12, 10, 14, 5, 0);
  makeProgram();
  std::vector<std::string> titles;
  program->title().setSink([&](const std::string& t) { titles.push_back(t); });
  ASSERT_TRUE(program->start({}));
  ASSERT_NE(program->currentStation(), nullptr);
  EXPECT_EQ(program->currentStationName(), "Casa");
  EXPECT_EQ(program->settings().lastStationDirectory(), std::string(kProgramDir) + "/Casa");
  ASSERT_FALSE(titles.empty());
  EXPECT_EQ(titles.back(), "Stratalog 1.0  10-12-26  14:05: Casa");
  // Ticks within the same minute do not hand the same title on again.
  std::size_t before = titles.size();
  clock.advance(std::chrono::seconds(1));
  program->loop().runOnce(std::chrono::milliseconds(0));
  EXPECT_EQ(titles.size(), before);
}

TEST_F(ProgramTest, TerminationSignalRunsTheShutdownOrder) {
  std::string dir = addStation("Casa", "Casa");
  makeProgram();
  program->addStartHook([](Program&) {
    platform::SignalPipe::raiseForTest(platform::SignalPipe::terminateSignal());
  });
  std::vector<std::string> order;
  program->addShutdownHook([&](Program&) { order.push_back("modules unloaded"); });
  // The last automatic hour is in memory only; the shutdown clears it on disk.
  program->addStartHook([](Program& p) { p.settings().setLastDownloadHour(7); });
  EXPECT_EQ(program->run({}), kProgramExitOk);
  EXPECT_EQ(stations->events,
            (std::vector<std::string>{"stop port manager", "save station", "close station"}));
  EXPECT_EQ(order, std::vector<std::string>{"modules unloaded"});
  auto saved = readProgramSettings(fs, std::string(kProgramDir) + "/progdata.dat");
  ASSERT_TRUE(saved.isOk());
  EXPECT_EQ(saved->lastDownloadHour(), -1);
  EXPECT_EQ(saved->lastStationDirectory(), dir);
}

TEST_F(ProgramTest, CtrlCRunsTheShutdownOrderSaysSoAndEndsWith130) {
  addStation("Casa", "Casa");
  std::ostringstream printed;
  out = &printed;
  makeProgram(true);
  program->addStartHook([](Program&) {
    platform::SignalPipe::raiseForTest(platform::SignalPipe::interruptSignal());
  });
  EXPECT_EQ(program->run({}), 130);
  EXPECT_EQ(stations->events,
            (std::vector<std::string>{"stop port manager", "save station", "close station"}));
  EXPECT_NE(printed.str().find("\nInterrumpido (Ctrl-C): se guarda todo y se cierra Stratalog.\n"),
            std::string::npos);
}

class InstanceLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("stratalog-lock-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
};

TEST_F(InstanceLockTest, SecondInstanceIsRefusedUntilTheFirstEnds) {
  auto first = platform::InstanceLock::acquire(dir.string());
  ASSERT_TRUE(first.isOk());
  auto second = platform::InstanceLock::acquire(dir.string());
  ASSERT_FALSE(second.isOk());
  EXPECT_EQ(second.status().kind(), platform::Errc::kBusy);

  std::ostringstream out, err;
  RunOptions options;
  options.programDirectory = dir.string();
  options.args = {"-d"};
  options.out = &out;
  options.err = &err;
  EXPECT_EQ(runProgram(options), kProgramExitFailed);
  EXPECT_NE(err.str().find("Otro Stratalog ya trabaja en este directorio"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "progdata.dat"));

  *first = platform::InstanceLock();
  EXPECT_TRUE(platform::InstanceLock::acquire(dir.string()).isOk());
}

// A -d run that fails says why on standard error, the same lines download.log holds.
TEST_F(InstanceLockTest, AFailedDashDRunSaysWhyOnStandardError) {
  std::ostringstream out, err;
  RunOptions options;
  options.programDirectory = dir.string();
  options.args = {"Nada", "-d"};
  options.out = &out;
  options.err = &err;
  EXPECT_EQ(runProgram(options), kProgramExitFailed);
  std::ifstream file(dir / "download.log");
  std::vector<std::string> logged;
  for (std::string line; std::getline(file, line);) logged.insert(logged.begin(), line);
  ASSERT_FALSE(logged.empty());
  std::vector<std::string> shown;
  std::istringstream in(err.str());
  for (std::string line; std::getline(in, line);) shown.push_back(line);
  EXPECT_EQ(shown, logged) << err.str();
}

}  // namespace
}  // namespace frame
