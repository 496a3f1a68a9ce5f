// The minute samples of wind the real-time readings keep.
#include "link/wind_history.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "link/cirrant_link.h"
#include "link/realtime_manager.h"
#include "sim_link.h"

namespace stationlink {
namespace {

using std::chrono::seconds;

SensorImage windOf(std::uint8_t mph) {
  SensorImage image = resetSensorImage();
  image.windSpeed = mph;
  return image;
}

TEST(WindHistory, OneSampleAMinuteAndTheSpansNeedAllTheirSamples) {
  WindHistory history;
  platform::Instant t{};
  // Readings every 20 s: only those a minute after the last sample count.
  for (int i = 0; i < 30; ++i) {
    history.offer(windOf(static_cast<std::uint8_t>(i)), t);
    t += seconds(20);
  }
  // Samples were taken from readings 0, 3, ..., 27: ten of them.
  EXPECT_EQ(history.size(), 10u);
  EXPECT_EQ(history.average(2), (27 + 24) / 2.0);
  EXPECT_EQ(history.highest(6), 27);
  EXPECT_FALSE(history.average(11));
  history.offer(windOf(3), t);
  EXPECT_EQ(history.size(), 11u);
  EXPECT_EQ(history.highest(11), 27);
  EXPECT_EQ(history.average(11), (135 + 3) / 11.0);
}

TEST(WindHistory, AGapStartsAfreshAndAMissingSpeedSpoilsItsSpans) {
  WindHistory history;
  platform::Instant t{};
  for (int i = 0; i < 5; ++i) {
    history.offer(windOf(10), t);
    t += seconds(60);
  }
  history.offer(windOf(stationlink::kImageNone8), t);
  EXPECT_FALSE(history.average(2));
  EXPECT_FALSE(history.highest(6));
  t += seconds(181);
  history.offer(windOf(4), t);
  EXPECT_EQ(history.size(), 1u);
  EXPECT_FALSE(history.average(2));
}

struct SilentView : RealtimeView {
  void update(const SensorImage& image) override { speeds.push_back(image.windSpeed); }
  void refresh() override {}
  void closed() override {}
  std::vector<int> speeds;
};

// The real-time readings of a simulated console fill the history while they run, and a
// new start begins it afresh.
TEST(WindHistory, TheRealtimeReadingsKeepItWhileTheyRun) {
  platform::FakeClock clock;
  clock.setLocal(2006, 3, 15, 12, 0);
  consolesim::EngineOptions o;
  o.historyDays = 0;
  consolesim::ConsoleEngine engine(clock, o);
  consolesim::SimSerialPortOpener opener(engine, clock);
  auto link = linktest::simCirrantLink(opener, clock);
  RealtimeHost host;
  host.link = [&] { return link.get(); };
  host.clock = &clock;
  bool armed = false;
  host.timer = [&](bool on) { armed = on; };
  RealtimeManager manager(host);
  SilentView view;
  manager.openView(&view);
  for (int tick = 0; tick < 2 * 60 * 12 && armed; ++tick) {
    clock.advance(RealtimeManager::kTickInterval);
    manager.tick();
  }
  EXPECT_EQ(manager.windHistory().size(), WindHistory::kCapacity);
  ASSERT_FALSE(view.speeds.empty());
  EXPECT_TRUE(manager.windHistory().highest(11).has_value());

  manager.closeView(&view);
  manager.openView(&view);
  EXPECT_EQ(manager.windHistory().size(), 0u);
}

}  // namespace
}  // namespace stationlink
