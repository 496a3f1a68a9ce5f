// Console settings changed by commands: the console password guards every change, and a
// new archive interval reaches the named station's STATION.CFG. Against the in-process
// console.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "frame/password_admin.h"
#include "link/sim_link.h"
#include "platform/event_loop.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"
#include "station/station_config.h"
#include "station/station_file.h"

namespace {

// The check value of "abc", high byte at 0xFFE and low byte at 0xFFF.
constexpr std::uint8_t kAbcHigh = 0x0E;
constexpr std::uint8_t kAbcLow = 0x8B;
// Offset of archiveInterval in STATION.CFG.
constexpr std::size_t kArchiveIntervalOffset = 575;

class ConsoleChange : public ::testing::Test {
 protected:
  ConsoleChange() {
    clock_.setLocal(2006, 3, 15, 12, 0);
    consolesim::EngineOptions o;
    o.archiveIntervalMinutes = 30;
    o.historyDays = 1;
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock_, o);
    opener_ = std::make_unique<consolesim::SimSerialPortOpener>(*engine_, clock_);
  }
  void setPasswordAbc() {
    engine_->mutableMemory().setByte(0xFFE, kAbcHigh);
    engine_->mutableMemory().setByte(0xFFF, kAbcLow);
  }
  int run(std::vector<std::string> args) {
    platform::Env env;
    env.clock = &clock_;
    env.files = &files_;
    env.serialPorts = opener_.get();
    cli::CommandContext ctx{env, &out_, &err_};
    return cli::runCommandLine(args, ctx);
  }
  void writeStation(const std::string& dir) {
    station::StationConfig config;
    config.setArchiveInterval(30);
    ASSERT_TRUE(files_.createDirectories(dir).isOk());
    ASSERT_TRUE(station::writeStationRecord(files_, config, dir).isOk());
  }
  int stationInterval(const std::string& dir) {
    std::string bytes = files_.contents(dir + "/STATION.CFG");
    EXPECT_EQ(bytes.size(), 4096u);
    return bytes.size() > kArchiveIntervalOffset
               ? static_cast<unsigned char>(bytes[kArchiveIntervalOffset])
               : -1;
  }

  platform::FakeClock clock_;
  platform::MemFileSystem files_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<consolesim::SimSerialPortOpener> opener_;
  std::ostringstream out_, err_;
};

struct PasswordCase {
  const char* name;
  std::optional<std::string> typed;
  platform::Errc want;
  int intervalAfter;
};

class ConsolePasswordGuard : public ConsoleChange,
                             public ::testing::WithParamInterface<PasswordCase> {};

TEST_P(ConsolePasswordGuard, OnlyTheRightPasswordLetsTheIntervalChange) {
  setPasswordAbc();
  platform::ScriptedUserInterface ui;
  ui.answerText(GetParam().typed);
  auto link = linktest::simCirrantLink(*opener_, clock_);

  platform::Status s = frame::changeConsoleSetting(ui, *link, [&] {
    return link->SetArchiveInterval(1);  // 5 minutes
  });

  EXPECT_EQ(s.kind(), GetParam().want) << s.message();
  EXPECT_EQ(engine_->memory().archiveIntervalMinutes(), GetParam().intervalAfter);
  EXPECT_EQ(engine_->counters().archiveClears, GetParam().intervalAfter == 5 ? 1 : 0);
  ASSERT_EQ(ui.shown().size(), 1u);
  EXPECT_EQ(ui.shown()[0].kind, platform::ScriptedUserInterface::Kind::kTextEntry);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, ConsolePasswordGuard,
    ::testing::Values(PasswordCase{"wrong", "abd", platform::Errc::kPermission, 30},
                      PasswordCase{"empty", "", platform::Errc::kPermission, 30},
                      PasswordCase{"cancelled", std::nullopt, platform::Errc::kCancelled, 30},
                      PasswordCase{"right", "abc", platform::Errc::kOk, 5},
                      PasswordCase{"rightWithBlanks", "  abc ", platform::Errc::kOk, 5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleChange, NoPasswordOnTheConsoleAsksNothing) {
  platform::ScriptedUserInterface ui;
  auto link = linktest::simCirrantLink(*opener_, clock_);
  platform::Status s =
      frame::changeConsoleSetting(ui, *link, [&] { return link->SetArchiveInterval(1); });
  EXPECT_TRUE(s.isOk()) << s.message();
  EXPECT_TRUE(ui.shown().empty());
  EXPECT_EQ(engine_->memory().archiveIntervalMinutes(), 5);
}

struct HeadlessCase {
  const char* name;
  std::vector<std::string> args;
};

class HeadlessConsoleChange : public ConsoleChange,
                              public ::testing::WithParamInterface<HeadlessCase> {};

// Without a terminal nobody can type the password, and --yes never stands in for it.
TEST_P(HeadlessConsoleChange, FailsAndLeavesTheConsoleAsItWas) {
  if (platform::standardInputIsTerminal())
    GTEST_SKIP() << "needs standard input that is no terminal";
  setPasswordAbc();
  writeStation("/st");
  const int year = engine_->consoleTime().year;

  EXPECT_EQ(run(GetParam().args), 1);
  EXPECT_NE(err_.str().find("protegida con contraseña"), std::string::npos) << err_.str();
  EXPECT_EQ(engine_->memory().archiveIntervalMinutes(), 30);
  EXPECT_EQ(engine_->counters().archiveClears, 0);
  EXPECT_EQ(engine_->consoleTime().year, year);
  EXPECT_EQ(stationInterval("/st"), 30);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, HeadlessConsoleChange,
    ::testing::Values(
        HeadlessCase{"setInterval",
                     {"console", "set-interval", "5", "--port", "1", "--yes", "--station", "/st"}},
        HeadlessCase{"clearArchive", {"console", "clear-archive", "--port", "1", "--yes"}},
        HeadlessCase{"setClock",
                     {"console", "set-clock", "--port", "1", "--time", "2001-02-03 04:05"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleChange, SetIntervalWithStationStoresTheNewIntervalInStationCfg) {
  writeStation("/st");
  ASSERT_EQ(run({"console", "set-interval", "5", "--port", "1", "--yes", "--station", "/st"}), 0)
      << err_.str();
  EXPECT_EQ(engine_->memory().archiveIntervalMinutes(), 5);
  EXPECT_EQ(stationInterval("/st"), 5);
}

TEST_F(ConsoleChange, SetIntervalWithoutStationSaysOnlyTheConsoleChanged) {
  writeStation("/st");
  ASSERT_EQ(run({"console", "set-interval", "10", "--port", "1", "--yes"}), 0) << err_.str();
  EXPECT_EQ(engine_->memory().archiveIntervalMinutes(), 10);
  EXPECT_EQ(stationInterval("/st"), 30);
  EXPECT_NE(out_.str().find("solo ha cambiado la consola"), std::string::npos) << out_.str();
}

// The date and the time of day may come as one word (quoted, or joined by 'T') or as two.
TEST_F(ConsoleChange, SetClockTakesTheDateAndTimeAsOneWordOrTwo) {
  const std::vector<std::vector<std::string>> kTimes = {
      {"2026-12-10 21:02"}, {"2026-12-10T21:02"}, {"2026-12-10", "21:02"}};
  for (const auto& words : kTimes) {
    std::vector<std::string> args = {"console", "set-clock", "--time"};
    args.insert(args.end(), words.begin(), words.end());
    args.insert(args.end(), {"--port", "1"});
    ASSERT_EQ(run(args), 0) << words.size() << " " << err_.str();
    const platform::CivilTime t = engine_->consoleTime();
    EXPECT_EQ(std::vector<int>({t.year, t.month, t.day, t.hour, t.minute}),
              std::vector<int>({2026, 12, 10, 21, 2}))
        << words[0];
  }
}

TEST_F(ConsoleChange, SetIntervalNamesItsMinutesInSpanish) {
  run({"console", "set-interval", "--help"});
  EXPECT_NE(out_.str().find("minutos"), std::string::npos) << out_.str();
  EXPECT_EQ(out_.str().find("minutes"), std::string::npos) << out_.str();
}

// No station there: a usage error, found before the console is touched.
TEST_F(ConsoleChange, SetIntervalForAMissingStationChangesNothing) {
  EXPECT_EQ(run({"console", "set-interval", "5", "--port", "1", "--yes", "--station", "/none"}), 2);
  EXPECT_EQ(engine_->memory().archiveIntervalMinutes(), 30);
  EXPECT_EQ(engine_->counters().archiveClears, 0);
}

// A station named by its display name is reached through its own port settings, and
// --time takes the owner's own date form (here day/month/year).
TEST_F(ConsoleChange, SetClockOnAStationNamedByItsDisplayName) {
  station::StationConfig config;
  ASSERT_TRUE(config.setModel(5));
  config.setStationName("Estación Norte");
  ASSERT_TRUE(files_.createDirectories("/prog/N1").isOk());
  ASSERT_TRUE(station::writeStationRecord(files_, config, "/prog/N1").isOk());
  files_.setContents("/prog/intl.ini", "[intl]\r\niDate=1\r\nsDate=/\r\n");

  ASSERT_EQ(run({"console", "set-clock", "--station", "Estación Norte", "--program-dir", "/prog",
                 "--time", "15/07/06 14:30"}),
            0)
      << err_.str();
  const platform::CivilTime t = engine_->consoleTime();
  EXPECT_EQ(std::vector<int>({t.year, t.month, t.day, t.hour, t.minute}),
            std::vector<int>({2006, 7, 15, 14, 30}));
  EXPECT_NE(out_.str().find("15/07/06"), std::string::npos) << out_.str();

  EXPECT_EQ(run({"console", "clock", "--station", "Sur", "--program-dir", "/prog"}), 2);
  EXPECT_NE(err_.str().find("No hay ninguna estación 'Sur'."), std::string::npos) << err_.str();
}

}  // namespace
