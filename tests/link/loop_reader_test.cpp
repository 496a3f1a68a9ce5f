#include <gtest/gtest.h>

#include <memory>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "link/cirrant_link.h"
#include "sim_link.h"

namespace stationlink {
namespace {

using SimOpener = consolesim::SimSerialPortOpener;

struct Console {
  explicit Console(std::vector<consolesim::FaultRule> faults = {}) {
    clock.setLocal(2006, 3, 15, 12, 0);
    consolesim::EngineOptions o;
    o.faults = std::move(faults);
    engine = std::make_unique<consolesim::ConsoleEngine>(clock, o);
    opener = std::make_unique<SimOpener>(*engine, clock);
    link = linktest::simCirrantLink(*opener, clock);
  }
  platform::FakeClock clock;
  std::unique_ptr<consolesim::ConsoleEngine> engine;
  std::unique_ptr<SimOpener> opener;
  std::unique_ptr<CirrantLink> link;
};

TEST(LoopReader, OneReadingFromTheConsole) {
  Console c;
  SensorImage s = resetSensorImage();
  ASSERT_TRUE(c.link->GetSensorImage(s).isOk());
  EXPECT_NE(s.barometer, kImageNone16);
  EXPECT_GE(s.barometer, 16000);
  EXPECT_LE(s.outsideHumidity, 100);
  EXPECT_NE(s.outsideTemperature, kImageNone16);
}

TEST(LoopReader, ADamagedPacketIsACrcErrorAndTheNextRequestSucceeds) {
  Console c({*consolesim::parseFaultRule("crc-loop@1")});
  SensorImage s = resetSensorImage();
  EXPECT_EQ(c.link->GetSensorImage(s).code(), kLoopCrcError);
  EXPECT_EQ(s.barometer, kImageNone16);
  EXPECT_EQ(c.link->lastError(), -4);
  ASSERT_TRUE(c.link->StopLoop().isOk());
  EXPECT_TRUE(c.link->GetSensorImage(s).isOk());
}

}  // namespace
}  // namespace stationlink
