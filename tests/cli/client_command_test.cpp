// The commands a client hands to a running program, run there by the command line's own
// runner: the program on fakes, its console in process, a real socket between them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "cli/cli.h"
#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "frame/control_service.h"
#include "frame/program_fixture.h"
#include "link/cirrant_link.h"
#include "link/station_link.h"
#include "station/station_file.h"

namespace {

using frame::testing::kProgramDir;
using nlohmann::json;

class SimOpener : public platform::SerialPortOpener {
 public:
  SimOpener(consolesim::ConsoleEngine& engine, platform::FakeClock& clock)
      : engine_(engine), clock_(clock) {}
  platform::Result<std::unique_ptr<platform::SerialPort>> open(
      const std::string&, const platform::SerialSettings&) override {
    return std::unique_ptr<platform::SerialPort>(new consolesim::SimSerialPort(engine_, clock_));
  }

 private:
  consolesim::ConsoleEngine& engine_;
  platform::FakeClock& clock_;
};

class ClientCommand : public frame::testing::ProgramTest {
 protected:
  void SetUp() override {
    socketDir_ = std::filesystem::temp_directory_path() /
                 ("stratalog-client-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(socketDir_);
    clock.setLocal(2006, 3, 15, 12, 0);
    consolesim::EngineOptions o;
    o.historyDays = 1;
    o.archiveIntervalMinutes = 60;
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock, o);
    opener_ = std::make_unique<SimOpener>(*engine_, clock);
    serialPorts = opener_.get();
    realDownloads = true;
    dir_ = addStation("Cumbre", "Cumbre", 6);
    makeProgram();
    ASSERT_TRUE(program->start({}));
    stationlink::LinkServices ls;
    ls.opener = opener_.get();
    ls.clock = &clock;
    link_ = std::make_unique<stationlink::CirrantLink>(
        stationlink::portParamsFromStation(*program->currentStation()), ls);
    stations->link = link_.get();
    ctx_.env.files = &fs;
    ctx_.env.clock = &clock;
    ctx_.env.serialPorts = opener_.get();
    control_ = std::make_unique<frame::ControlService>(*program, cli::clientCommandRunner(ctx_));
    ASSERT_TRUE(control_->open((socketDir_ / "s.sock").string()).isOk());
  }
  void TearDown() override {
    control_.reset();
    stations->link = nullptr;
    std::filesystem::remove_all(socketDir_);
  }

  // The answers to `args`, sent as a client at a terminal sends them.
  std::vector<json> send(const std::vector<std::string>& args) {
    auto client = platform::ControlClient::connect((socketDir_ / "s.sock").string());
    EXPECT_TRUE(client.isOk());
    EXPECT_TRUE(client->send({{"request", "command"}, {"args", args}, {"terminal", true}}).isOk());
    for (int i = 0; i < 4; ++i) program->loop().runOnce(std::chrono::milliseconds(0));
    std::vector<json> all;
    for (auto a = client->receive(std::chrono::milliseconds(50)); a;
         a = client->receive(std::chrono::milliseconds(50))) {
      all.push_back(*a);
    }
    return all;
  }

  static std::string text(const std::vector<json>& answers, const char* key) {
    std::string t;
    for (const json& a : answers) {
      if (a.contains(key)) t += a[key].get<std::string>();
    }
    return t;
  }

  std::filesystem::path socketDir_;
  std::string dir_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<SimOpener> opener_;
  std::unique_ptr<stationlink::CirrantLink> link_;
  cli::CommandContext ctx_;
  std::unique_ptr<frame::ControlService> control_;
};

// The running program downloads for the client: the progress line reaches it while the
// download runs, then the result and the exit code, as the command prints them alone.
TEST_F(ClientCommand, DownloadRunsInTheProgramWithItsProgress) {
  const std::vector<json> answers = send({"download", "--program-dir", kProgramDir});
  ASSERT_FALSE(answers.empty());
  EXPECT_EQ(answers.back(), (json{{"exit", 0}})) << json(answers).dump();
  const std::string out = text(answers, "out");
  EXPECT_NE(out.find("\r"), std::string::npos) << out;
  EXPECT_NE(out.find("24 registros nuevos guardados\n"), std::string::npos) << out;
  EXPECT_EQ(text(answers, "err"), "");
  EXPECT_NE(log().find("Descargado Cumbre correctamente."), std::string::npos) << log();
}

// A settings command changes what the program holds; the shutdown then saves it.
TEST_F(ClientCommand, StationSetIsHeldByTheProgramAndSavedAtExit) {
  const std::vector<json> answers = send(
      {"station", "set", "--elevation-unit", "m", "--timeout", "3", "--program-dir", kProgramDir});
  EXPECT_EQ(answers.back(), (json{{"exit", 0}})) << json(answers).dump();
  EXPECT_EQ(program->settings().unitCodes().elevation, 0);
  EXPECT_EQ(program->currentStation()->timeoutSeconds(), 180);
  program->shutdown();
  auto saved = station::readStationRecord(fs, dir_);
  ASSERT_TRUE(saved.isOk());
  EXPECT_EQ(saved->timeoutSeconds(), 180);
}

}  // namespace
