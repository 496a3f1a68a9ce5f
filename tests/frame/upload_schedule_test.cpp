#include "frame/upload_schedule.h"

#include <gtest/gtest.h>

#include <vector>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "frame/scheduler.h"
#include "link/cirrant_link.h"
#include "frame/upload_runner.h"
#include "platform/signals.h"
#include "platform/testing/fake_ftp.h"
#include "program_fixture.h"

namespace frame {
namespace {

publish::InetConfig withProfile(int interval, int start, bool enabled = true) {
  publish::InetConfig c;
  publish::UploadProfile p = c.profile(0);
  p.setEnabled(enabled);
  p.setInterval(static_cast<std::uint16_t>(interval));
  p.setStartMinute(static_cast<std::uint16_t>(start));
  c.setProfile(0, p);
  return c;
}

// The minutes at which profile 1 is due when the schedule is asked at each of `minutes`.
std::vector<int> dueAt(publish::InetConfig c, const std::vector<int>& minutes) {
  std::vector<int> due;
  for (int m : minutes) {
    if (dueUploads(c, m).profiles & 1u) due.push_back(m);
  }
  return due;
}

// Every minute of a day from `from`, asked three times each (a step every 20 seconds).
std::vector<int> stepsOfDay(int from) {
  std::vector<int> out;
  for (int i = 0; i < kMinutesPerDay; ++i) {
    for (int k = 0; k < 3; ++k) out.push_back((from + i) % kMinutesPerDay);
  }
  return out;
}

TEST(UploadScheduleTest, DueMinutesOverADay) {
  struct Case {
    const char* name;
    int interval;
    int start;
    bool enabled;
    int from;
    std::size_t count;
    std::vector<int> first;
  };
  const Case cases[] = {
      {"06:00 every 60 across midnight", 60, 360, true, 1380, 24, {1380, 0, 60, 120}},
      {"interval 1: once in each minute", 1, 0, true, 0, 1440, {0, 1, 2, 3}},
      {"interval 0 is never due", 0, 3, true, 0, 0, {}},
      {"start past a day is taken modulo", 720, 1440 + 30, true, 0, 2, {30, 750}},
      {"disabled", 15, 0, false, 0, 0, {}},
  };
  for (const Case& c : cases) {
    const std::vector<int> due = dueAt(withProfile(c.interval, c.start, c.enabled), stepsOfDay(c.from));
    EXPECT_EQ(due.size(), c.count) << c.name;
    const std::vector<int> head(due.begin(), due.begin() + std::min(due.size(), c.first.size()));
    EXPECT_EQ(head, c.first) << c.name;
  }
}

TEST(UploadScheduleTest, DialUpOfAnyDueProfileMakesADialUpRun) {
  publish::InetConfig c = withProfile(5, 0);
  publish::UploadProfile p = c.profile(2);
  p.setEnabled(true);
  p.setInterval(10);
  p.setStartMinute(0);
  p.setDialUp(true);
  c.setProfile(2, p);
  const UploadsDue due = dueUploads(c, 20);
  EXPECT_EQ(due.profiles, 0b101u);
  EXPECT_TRUE(due.dialUp);
}

TEST(UploadScheduleTest, StepsAfterTheTickCounterWrapsStillSeeEachNewMinute) {
  publish::InetConfig c = withProfile(1, 0);
  Scheduler s;
  int tick = 0;
  std::vector<int> dueTicks;
  // One tick per second from midnight: the step sees minute tick / 60.
  s.addStep([&] {
    if (dueUploads(c, tick / 60).profiles != 0) dueTicks.push_back(tick);
  });
  for (tick = 1; tick <= 300; ++tick) s.tick();
  EXPECT_EQ(dueTicks, (std::vector<int>{19, 79, 139, 199, 255}));
}

// A program with the station "Casa" open, its link a console in process.
class ScheduledUploadTest : public testing::ProgramTest {
 protected:
  Program& openStation(const std::string& dir) {
    Program& p = makeProgram();
    EXPECT_TRUE(p.startForCommand(dir).isOk());
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock, consolesim::EngineOptions{});
    opener_ = std::make_unique<consolesim::SimSerialPortOpener>(*engine_, clock);
    stationlink::LinkServices services;
    services.opener = opener_.get();
    services.clock = &clock;
    stationlink::PortParams params;
    params.portNumber = 1;
    params.baudRate = 19200;
    params.linkType = stationlink::LinkType::kCirrant;
    link_ = std::make_unique<stationlink::CirrantLink>(params, services);
    stations->link = link_.get();
    return p;
  }
  void TearDown() override {
    if (stations != nullptr) stations->link = nullptr;
  }

  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<consolesim::SimSerialPortOpener> opener_;
  std::unique_ptr<stationlink::CirrantLink> link_;
};

TEST_F(ScheduledUploadTest, RunsUnattendedAndTurnsSchedulingBackOn) {
  const std::string dir = addStation("casa", "Casa");
  publish::InetConfig c = withProfile(1, 0);
  ASSERT_TRUE(c.setFtpHost("ftp.example.net"));
  ASSERT_TRUE(c.setFtpPassword("secret"));
  c.setInternetTransfer(true);
  ASSERT_TRUE(publish::saveInetConfig(fs, dir, c));
  fs.setContents(dir + "/Profile1.lst", "a.txt\t\t\t\t" + dir + "/a.txt\n");
  fs.setContents(dir + "/a.txt", "hello");
  platform::FakeFtpServer server(fs, clock);
  server.loginDirectory = "/";
  Program& p = openStation(dir);
  auto step = uploadScheduleStep(p, [&](Program&) { return server.connector(); });
  step();
  EXPECT_FALSE(p.scheduler().schedulingEnabled());
  for (int i = 0; i < 50 && !p.scheduler().schedulingEnabled(); ++i) {
    p.loop().runOnce(std::chrono::milliseconds(0));
  }
  EXPECT_TRUE(p.scheduler().schedulingEnabled());
  EXPECT_FALSE(p.unattended().isSet());
  EXPECT_EQ(server.stored.at("/a.txt"), "hello");
  EXPECT_NE(log().find("Carga de Perfil(es) de Carga de Datos 1  completada correctamente."),
            std::string::npos);
  // The same minute again: the profile ran in it already.
  step();
  EXPECT_TRUE(p.scheduler().schedulingEnabled());
  EXPECT_EQ(server.logins, 1);
}

TEST_F(ScheduledUploadTest, AnInterruptDuringARunCancelsIt) {
  const std::string dir = addStation("casa", "Casa");
  publish::InetConfig c;
  ASSERT_TRUE(c.setFtpPassword("secret"));
  c.setInternetTransfer(true);
  fs.setContents(dir + "/Profile1.lst", "a.txt\t\t\t\t" + dir + "/a.txt\nb.txt\t\t\t\t" + dir + "/b.txt\n");
  fs.setContents(dir + "/a.txt", "a");
  fs.setContents(dir + "/b.txt", "b");
  platform::FakeFtpServer server(fs, clock);
  server.loginDirectory = "/";
  server.onPut = [] { platform::SignalPipe::raiseForTest(platform::SignalPipe::interruptSignal()); };
  Program& p = openStation(dir);
  auto connector = server.connector();
  publish::UploadRun run(uploadRunParts(p, c, 1, *connector));
  EXPECT_EQ(runOnLoop(p, run), publish::UploadOutcome::kCancelled);
  EXPECT_EQ(server.stored.size(), 1u);
  EXPECT_NE(log().find("Carga de Perfil(es) de Carga de Datos 1  cancelada por el usuario."),
            std::string::npos);
}

}  // namespace
}  // namespace frame
