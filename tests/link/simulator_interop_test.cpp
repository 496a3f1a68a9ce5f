// The link against the console simulator: both are read from the same protocol text, so a
// disagreement here means one of them misread it. Expected bytes live in the transcript tests.
#include <gtest/gtest.h>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "link/cirrant_link.h"
#include "sim_link.h"

namespace {

using SimOpener = consolesim::SimSerialPortOpener;

TEST(SimulatorInterop, CommandsRoundTrip) {
  platform::FakeClock clock;
  clock.setLocal(2006, 3, 15, 12, 0);
  consolesim::ConsoleEngine engine(clock, consolesim::EngineOptions{});
  SimOpener opener(engine, clock);
  auto simLink = linktest::simCirrantLink(opener, clock);
  stationlink::CirrantLink& link = *simLink;

  auto model = link.Identify();
  ASSERT_TRUE(model.isOk()) << model.status().toString();
  EXPECT_EQ(*model, 16);
  auto interval = link.GetArchiveInterval();
  ASSERT_TRUE(interval.isOk()) << interval.status().toString();
  EXPECT_EQ(*interval, 5);

  ASSERT_TRUE(link.SetTime({2007, 6, 30, 23, 59}).isOk());
  auto t = link.GetTime();
  ASSERT_TRUE(t.isOk()) << t.status().toString();
  EXPECT_EQ(t->year, 2007);
  EXPECT_EQ(t->month, 6);
  EXPECT_EQ(t->day, 30);

  ASSERT_TRUE(link.SetArchiveInterval(0).isOk());  // code 0: one minute
  EXPECT_EQ(*link.GetArchiveInterval(), 1);
  EXPECT_GE(engine.counters().archiveClears, 1);

  ASSERT_TRUE(link.ClearHighs(-1).isOk());
  EXPECT_EQ(engine.counters().highsCleared, (std::array<int, 3>{1, 1, 1}));

  auto firmware = link.GetFirmwareDate();
  ASSERT_TRUE(firmware.isOk()) << firmware.status().toString();
  EXPECT_TRUE(firmware->valid);
  EXPECT_TRUE(link.ReceptionCheck().isOk());
  EXPECT_TRUE(link.ReadBarometerData().isOk());
  EXPECT_TRUE(link.ReadHiLows().isOk());
  auto wind = link.FindWindTransmitter();
  ASSERT_TRUE(wind.isOk()) << wind.status().toString();
  platform::Status cleared = link.ClearCalibration();
  EXPECT_TRUE(cleared.isOk()) << cleared.toString();
}

}  // namespace
