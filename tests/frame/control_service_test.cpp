// The running program's control socket in process: a real socket, the program on fakes and
// the in-process console, the clock moved by hand.
#include "frame/control_service.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "frame/archive_download_runner.h"
#include "frame/outside_changes.h"
#include "link/cirrant_link.h"
#include "link/station_link.h"
#include "program_fixture.h"
#include "station/station_file.h"

namespace frame {
namespace {

using nlohmann::json;
using testing::kProgramDir;

TEST(MergeOwnChanges, OutsideBytesWinExceptWhereTheProgramChangedItsOwn) {
  struct Case {
    const char* name;
    const char* base;
    const char* mine;
    const char* theirs;
    const char* merged;
  };
  constexpr Case kCases[] = {
      {"only outside", "abcd", "abcd", "aXcd", "aXcd"},
      {"only the program", "abcd", "abYd", "abcd", "abYd"},
      {"both, other bytes", "abcd", "abYd", "Xbcd", "XbYd"},
      {"both, one byte: the program's pending change", "abcd", "abYd", "abZd", "abYd"},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(mergeOwnChanges(c.base, c.mine, c.theirs), c.merged) << c.name;
}

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

// The program's own download, with a hook that runs as it starts.
class HookedDownloads : public DownloadRunner {
 public:
  DownloadResult download(const DownloadRequest& request) override {
    if (starting) starting();
    return real->download(request);
  }
  std::unique_ptr<ArchiveDownloadRunner> real;
  std::function<void()> starting;
};

class ControlServiceTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    socketDir_ = std::filesystem::temp_directory_path() /
                 ("stratalog-ctlsvc-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(socketDir_);
    socket_ = (socketDir_ / "s.sock").string();
  }
  void TearDown() override {
    control_.reset();
    if (stations != nullptr) stations->link = nullptr;
    std::filesystem::remove_all(socketDir_);
  }

  // The program started on the station "Cumbre", its console in process, serving `runner`.
  void startProgram(ClientCommandRunner runner = {}) {
    clock.setLocal(2006, 3, 15, 7, 0);
    consolesim::EngineOptions o;
    o.historyDays = 1;
    o.archiveIntervalMinutes = 30;
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock, o);
    opener_ = std::make_unique<SimOpener>(*engine_, clock);
    dir_ = addStation("Cumbre", "Cumbre", 6);
    fs.setContents(std::string(kProgramDir) + "/download.lst", dir_ + "\n");
    ProgramParts parts;
    parts.env.files = &fs;
    parts.env.clock = &clock;
    parts.env.serialPorts = opener_.get();
    parts.ui = &ui;
    auto services = std::make_unique<testing::FakeStationServices>(fs, clear);
    stations = services.get();
    parts.stations = std::move(services);
    parts.downloads = &hooked_;
    parts.programDirectory = kProgramDir;
    parts.readStandardInput = false;
    program = std::make_unique<Program>(std::move(parts));
    hooked_.real = std::make_unique<ArchiveDownloadRunner>(*program);
    ASSERT_TRUE(program->start({}));
    ASSERT_EQ(program->currentStationDir(), dir_);
    stationlink::LinkServices ls;
    ls.opener = opener_.get();
    ls.clock = &clock;
    link_ = std::make_unique<stationlink::CirrantLink>(
        stationlink::portParamsFromStation(*program->currentStation()), ls);
    stations->link = link_.get();
    control_ = std::make_unique<ControlService>(*program, std::move(runner));
    ASSERT_TRUE(control_->open(socket_).isOk());
  }

  platform::ControlClient ask(const json& request) {
    auto client = platform::ControlClient::connect(socket_);
    EXPECT_TRUE(client.isOk());
    EXPECT_TRUE(client->send(request).isOk());
    return std::move(*client);
  }

  // Half-second passes of the loop.
  void run(std::chrono::milliseconds span) {
    for (auto t = std::chrono::milliseconds(0); t < span; t += std::chrono::milliseconds(500)) {
      clock.advance(std::chrono::milliseconds(500));
      program->loop().runOnce(std::chrono::milliseconds(0));
    }
  }

  // Every answer the program has written so far.
  static std::vector<json> answers(platform::ControlClient& client) {
    std::vector<json> all;
    for (;;) {
      auto a = client.receive(std::chrono::milliseconds(20));
      if (!a) return all;
      all.push_back(*a);
    }
  }
  static int count(const std::vector<json>& all, const char* key) {
    int n = 0;
    for (const json& a : all) n += a.contains(key) ? 1 : 0;
    return n;
  }

  std::filesystem::path socketDir_;
  std::string socket_;
  std::string dir_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<SimOpener> opener_;
  std::unique_ptr<stationlink::CirrantLink> link_;
  HookedDownloads hooked_;
  std::unique_ptr<ControlService> control_;
};

// A follower's readings pause for the scheduled download and go on after it; a request
// that comes while the download runs is answered once it is over, and nothing is refused.
TEST_F(ControlServiceTest, CurrentConditionsWhileAScheduledDownloadRuns) {
  startProgram();
  station::DownloadSchedule s = program->schedule();
  s.hours[7] = true;
  s.offsetMinutes = 0;
  s.autoDownload = true;
  program->storeSchedule(s);

  platform::ControlClient follower = ask({{"request", "current"}, {"follow", true}});
  std::optional<platform::ControlClient> during;
  bool readingsPaused = false;
  hooked_.starting = [&] {
    during = ask({{"request", "current"}});
    readingsPaused = true;
  };
  run(std::chrono::seconds(8));
  const int before = count(answers(follower), "reading");
  EXPECT_GE(before, 4);
  EXPECT_FALSE(readingsPaused);
  run(std::chrono::seconds(16));
  ASSERT_TRUE(during.has_value()) << log();
  EXPECT_NE(log().find("Descargado Cumbre correctamente."), std::string::npos) << log();

  const std::vector<json> one = answers(*during);
  ASSERT_EQ(count(one, "reading"), 1) << json(one).dump();
  EXPECT_NE(one.front()["reading"].get<std::string>().find("Temperatura Exterior"),
            std::string::npos);
  EXPECT_EQ(one.back(), (json{{"exit", 0}}));
  EXPECT_GE(count(answers(follower), "reading"), 4);

  // The follower leaves: its view closes and the readings stop.
  follower.close();
  run(std::chrono::seconds(2));
  EXPECT_FALSE(program->realtime().running());
  program->shutdown();
}

// A command a client sends runs in the program; what it writes becomes what the program
// holds, with the program's own pending change kept, and the shutdown saves both.
TEST_F(ControlServiceTest, AClientsCommandRunsInTheProgramAndItsChangeIsKept) {
  const std::string settingsPath = std::string(kProgramDir) + "/progdata.dat";
  std::vector<std::string> ran;
  startProgram([&](Program&, const ClientCommand& c, std::ostream& out, std::ostream& err) {
    ran = c.args;
    // As "station set --rain-unit mm" does: on the file.
    auto st = readProgramSettings(fs, settingsPath);
    UnitCodes u = st->unitCodes();
    u.rain = 1;
    st->setUnitCodes(u);
    EXPECT_TRUE(st->save(fs, settingsPath).isOk());
    out << "hecho\n" << std::flush;
    err << "aviso\n";
    return 3;
  });
  // The program's own change, not yet saved.
  program->settings().setLastDownloadHour(4);
  program->settings().setFramePlacement({1, 2, 3, 4});

  platform::ControlClient client =
      ask({{"request", "command"}, {"args", {"station", "set"}}, {"terminal", false}});
  run(std::chrono::seconds(1));
  const std::vector<json> got = answers(client);
  EXPECT_EQ(ran, (std::vector<std::string>{"station", "set"}));
  EXPECT_EQ(got, (std::vector<json>{{{"out", "hecho\n"}}, {{"err", "aviso\n"}}, {{"exit", 3}}}));
  EXPECT_EQ(program->settings().unitCodes().rain, 1);
  EXPECT_EQ(program->units().GetRainUnit(), 1);

  program->shutdown();
  auto saved = readProgramSettings(fs, settingsPath);
  ASSERT_TRUE(saved.isOk());
  EXPECT_EQ(saved->unitCodes().rain, 1);
  EXPECT_EQ(saved->framePlacement(), (std::array<std::int32_t, 4>{1, 2, 3, 4}));
}

// STATION.CFG edited by hand while the program runs is taken in within two seconds, one
// log line, and the program's own change to another field survives the save at exit.
TEST_F(ControlServiceTest, AStationFileEditedByHandIsTakenInAndNotOverwritten) {
  startProgram();
  program->currentStation()->setTimeoutSeconds(77);
  auto edited = station::readStationRecord(fs, dir_);
  ASSERT_TRUE(edited.isOk());
  edited->setElevation(1234);
  ASSERT_TRUE(station::writeStationRecord(fs, *edited, dir_).isOk());
  run(std::chrono::seconds(2));
  EXPECT_EQ(program->currentStation()->elevation(), 1234);
  EXPECT_EQ(program->currentStation()->timeoutSeconds(), 77);
  // Nothing of the link changed: it stays.
  EXPECT_EQ(std::count(stations->events.begin(), stations->events.end(), "close link"), 0);
  const std::string l = log();
  EXPECT_NE(l.find("STATION.CFG cambió fuera del programa"), std::string::npos) << l;
  run(std::chrono::seconds(4));
  EXPECT_EQ(log(), l);

  // Another speed: the link is made again with it.
  edited->setBaudRate(9600);
  ASSERT_TRUE(station::writeStationRecord(fs, *edited, dir_).isOk());
  run(std::chrono::seconds(1));
  EXPECT_EQ(program->currentStation()->baudRate(), 9600);
  EXPECT_EQ(std::count(stations->events.begin(), stations->events.end(), "close link"), 1);

  program->shutdown();
  auto saved = station::readStationRecord(fs, dir_);
  ASSERT_TRUE(saved.isOk());
  EXPECT_EQ(saved->elevation(), 1234);
  EXPECT_EQ(saved->timeoutSeconds(), 77);
  EXPECT_EQ(saved->baudRate(), 9600);
}

}  // namespace
}  // namespace frame
