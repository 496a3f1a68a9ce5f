#include "link/realtime_manager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "link/cirrant_link.h"
#include "sim_link.h"

namespace stationlink {
namespace {

using namespace std::chrono_literals;

struct RecordingView : RealtimeView {
  void update(const SensorImage& image) override {
    ++updates;
    last = image;
  }
  void refresh() override { ++refreshes; }
  void closed() override { ++closings; }
  int updates = 0;
  int refreshes = 0;
  int closings = 0;
  SensorImage last{};
};

// A manager reading a simulated console on a fake clock, with what it logs and shows.
class Realtime : public ::testing::Test {
 protected:
  void startConsole(std::vector<const char*> faults = {}) {
    clock.setLocal(2006, 3, 15, 12, 0);
    consolesim::EngineOptions o;
    o.historyDays = 0;
    for (const char* f : faults) o.faults.push_back(*consolesim::parseFaultRule(f));
    engine = std::make_unique<consolesim::ConsoleEngine>(clock, o);
    opener = std::make_unique<consolesim::SimSerialPortOpener>(*engine, clock);
    link = linktest::simCirrantLink(*opener, clock);
    RealtimeHost host;
    host.link = [this] { return linkPresent ? link.get() : nullptr; };
    host.clock = &clock;
    host.log = [this](std::string_view line) { logged.emplace_back(line); };
    host.show = [this](std::string_view title, std::string_view text) {
      shown.push_back(std::string(title) + ": " + std::string(text));
    };
    host.timer = [this](bool armed) { timerArmed = armed; };
    manager = std::make_unique<RealtimeManager>(host);
  }
  // Runs the 500 ms timer for `span` of console time.
  void runFor(std::chrono::milliseconds span) {
    const platform::Instant end = clock.now() + span;
    while (clock.now() < end) {
      clock.advance(RealtimeManager::kTickInterval);
      if (timerArmed) manager->tick();
    }
  }
  int count(const std::string& line) const {
    int n = 0;
    for (const std::string& l : logged) n += l == line;
    return n;
  }

  platform::FakeClock clock;
  std::unique_ptr<consolesim::ConsoleEngine> engine;
  std::unique_ptr<consolesim::SimSerialPortOpener> opener;
  std::unique_ptr<CirrantLink> link;
  std::unique_ptr<RealtimeManager> manager;
  bool linkPresent = true;
  bool timerArmed = false;
  std::vector<std::string> logged;
  std::vector<std::string> shown;
  RecordingView view;
};

TEST_F(Realtime, StreamsPacketsWhileAViewIsOpen) {
  startConsole();
  manager->openView(&view);
  EXPECT_TRUE(timerArmed);
  runFor(500ms);
  EXPECT_EQ(view.updates, 1);  // the new view's single reading
  runFor(60s);
  // One packet every two seconds from one request of 55.
  EXPECT_GE(view.updates, 25);
  EXPECT_EQ(view.refreshes, view.updates);
  EXPECT_EQ(manager->packetsSinceRequest(), view.updates - 1);
  EXPECT_GE(view.last.barometer, 16000);
  EXPECT_TRUE(logged.empty());

  manager->closeView(&view);
  EXPECT_FALSE(manager->running());
  EXPECT_FALSE(timerArmed);
}

TEST_F(Realtime, TheRequestIsRenewedAfterFiftyFivePackets) {
  startConsole();
  manager->openView(&view);
  runFor(2min + 10s);
  EXPECT_GT(view.updates, 56);
  EXPECT_LT(manager->packetsSinceRequest(), 55);
  EXPECT_TRUE(logged.empty());
}

TEST_F(Realtime, ADamagedPacketIsLoggedDroppedAndTheRequestRenewed) {
  // The first packet is the view's single reading; the third is the second of the stream.
  startConsole({"crc-loop@3"});
  manager->openView(&view);
  runFor(30s);
  EXPECT_EQ(count("Error CRC detectado en paquete de bucle.  Dato ignorado."), 1);
  EXPECT_GE(view.updates, 10);
  EXPECT_TRUE(shown.empty());
  EXPECT_FALSE(manager->connectionLost());
}

TEST_F(Realtime, ALineSilentForAWhileRenewsTheRequestAndRecovers) {
  startConsole({"disconnect@2"});
  manager->openView(&view);
  runFor(90s);
  EXPECT_FALSE(manager->connectionLost());
  const int before = view.updates;
  runFor(20s);
  EXPECT_GE(view.updates, before + 8);
}

TEST_F(Realtime, WhileSuspendedTheLinkIsLeftAloneAndResumeAsksAfresh) {
  startConsole();
  manager->openView(&view);
  runFor(10s);
  {
    RealtimePause pause(manager.get());
    EXPECT_TRUE(manager->suspended());
    { RealtimePause nested(manager.get()); }
    EXPECT_TRUE(manager->suspended());  // only the outer pause resumes
    const int updates = view.updates;
    const int commands = engine->counters().commands;
    runFor(30s);
    EXPECT_EQ(view.updates, updates);
    EXPECT_EQ(engine->counters().commands, commands);
  }
  EXPECT_FALSE(manager->suspended());
  const int updates = view.updates;
  runFor(10s);
  EXPECT_GE(view.updates, updates + 4);
  EXPECT_TRUE(logged.empty());
}

TEST_F(Realtime, ASilentConsoleEndsTheSessionWithConnectionLost) {
  startConsole({"no-reply@1*0"});
  manager->openView(&view);
  runFor(10min);
  // The link's last error: the console never answered (-5).
  EXPECT_EQ(count("Fallo en el Boletín al iniciar -5."), 1);
  EXPECT_EQ(count("¡Conexión Perdida!"), 1);
  ASSERT_EQ(shown.size(), 2U);
  EXPECT_EQ(shown[0], "Error: Fallo en el Boletín al iniciar -5.");
  EXPECT_EQ(shown[1], "Error: ¡Conexión Perdida!");
  EXPECT_TRUE(manager->connectionLost());
  EXPECT_EQ(view.closings, 1);
  EXPECT_EQ(manager->viewCount(), 0U);
}

// A console whose every reading carries an alarm bit.
class AlarmLink : public ConsoleLink {
 public:
  using ConsoleLink::ConsoleLink;
  platform::Status GetSensorImage(SensorImage& image) override {
    image.insideAlarms = 0x04;
    return platform::Status::ok();
  }
};

TEST(RealtimeAlarms, AnAlarmBeepsUnlessSilenced) {
  platform::FakeClock clock;
  LinkServices services;
  services.clock = &clock;
  AlarmLink link(PortParams{}, services);
  for (bool silenced : {false, true}) {
    int beeps = 0;
    RealtimeHost host;
    host.link = [&link]() -> ConsoleLink* { return &link; };
    host.clock = &clock;
    host.beep = [&beeps] { ++beeps; };
    host.alarmsSilenced = [silenced] { return silenced; };
    RealtimeManager manager(host);
    RecordingView view;
    manager.openView(&view);
    manager.tick();
    EXPECT_EQ(view.updates, 1);
    EXPECT_EQ(beeps, silenced ? 0 : 1);
  }
}

}  // namespace
}  // namespace stationlink
