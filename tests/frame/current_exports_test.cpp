#include "frame/current_exports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "consolesim/console_engine.h"
#include "consolesim/fault_plan.h"
#include "consolesim/sim_serial_port.h"
#include "link/cirrant_link.h"
#include "program_fixture.h"

namespace frame {
namespace {

using stationlink::kImageNone16;
using stationlink::SensorImage;

std::size_t lineCount(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class CurrentExportsTest : public testing::ProgramTest {
 protected:
  // The station "Casa" open, its link a Cirrant console in process with `faults`.
  void openCirrantStation(std::vector<consolesim::FaultRule> faults = {}) {
    clock.setLocal(2006, 3, 15, 12, 0);
    dir_ = addStation("Casa", "Casa", /*model=*/5);
    makeProgram();
    ASSERT_TRUE(program->startForCommand(dir_).isOk());
    setCurrentProgram(program.get());
    consolesim::EngineOptions o;
    o.faults = std::move(faults);
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock, o);
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
  }

  // The exports reach the program the way a module does: through the running program.
  void TearDown() override {
    setCurrentProgram(nullptr);
    if (stations != nullptr) stations->link = nullptr;
  }

  std::string dir_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<consolesim::SimSerialPortOpener> opener_;
  std::unique_ptr<stationlink::ConsoleLink> link_;
};

TEST_F(CurrentExportsTest, ReadsTheConsolesCurrentConditions) {
  openCirrantStation();
  SensorImage image{};
  ASSERT_EQ(GetCalibratedSensorImage(&image), 1);
  EXPECT_NE(image.outsideTemperature, kImageNone16);
  EXPECT_GE(image.barometer, 16000);
  EXPECT_LE(image.barometer, 32500);
  EXPECT_LE(image.outsideHumidity, 100);
  EXPECT_LE(image.insideHumidity, 100);
  SensorImage withAlarms{};
  ASSERT_EQ(GetCalibratedSensorImageWAlarms(&withAlarms), 1);
  EXPECT_NE(withAlarms.outsideTemperature, kImageNone16);
  EXPECT_EQ(log(), "");
}

TEST_F(CurrentExportsTest, AnswersNoWithoutPointerProgramStationOrLink) {
  SensorImage image{};
  std::array<std::uint8_t, 94> block{};
  // No program at all.
  EXPECT_EQ(GetCalibratedSensorImage(&image), 0);
  EXPECT_EQ(GetCirrantAlarmValues(block.data()), 0);

  openCirrantStation();
  EXPECT_EQ(GetCalibratedSensorImage(nullptr), 0);
  EXPECT_EQ(GetCalibratedSensorImageWAlarms(nullptr), 0);
  EXPECT_EQ(GetCirrantAlarmValues(nullptr), 0);

  stations->link = nullptr;
  EXPECT_EQ(GetCalibratedSensorImage(&image), 0);
  EXPECT_EQ(GetCirrantAlarmValues(block.data()), 0);

  stations->link = link_.get();
  program->closeStation();
  EXPECT_EQ(GetCalibratedSensorImage(&image), 0);
  EXPECT_EQ(GetCirrantAlarmValues(block.data()), 0);
  EXPECT_EQ(engine_->counters().commands, 0) << "nothing may reach the console";
}

TEST_F(CurrentExportsTest, ADamagedPacketIsLoggedOnceUnderTheStationAndGivesNoReadings) {
  openCirrantStation({*consolesim::parseFaultRule("crc-loop@1")});
  SensorImage image{};
  image.outsideTemperature = 700;  // what the module held before must not pass for a reading
  EXPECT_EQ(GetCalibratedSensorImage(&image), 0);
  EXPECT_EQ(stationlink::encodeSensorImage(image),
            stationlink::encodeSensorImage(stationlink::resetSensorImage()));
  const std::string text = log();
  EXPECT_EQ(lineCount(text), 1u) << text;
  EXPECT_NE(text.find("(Casa) Fallo en el recuento CRC."), std::string::npos) << text;
}

TEST_F(CurrentExportsTest, AlarmThresholdsAreCopiedWholeAndNothingBeyond) {
  openCirrantStation();
  std::array<std::uint8_t, 94> thresholds{};
  for (std::size_t i = 0; i < thresholds.size(); ++i) {
    thresholds[i] = static_cast<std::uint8_t>(i + 1);
  }
  ASSERT_TRUE(engine_->mutableMemory().write(0x52, thresholds));
  std::array<std::uint8_t, 96> block{};
  block.fill(0xAA);
  ASSERT_EQ(GetCirrantAlarmValues(block.data()), 1);
  EXPECT_TRUE(std::equal(thresholds.begin(), thresholds.end(), block.begin()));
  EXPECT_EQ(block[94], 0xAA);
  EXPECT_EQ(block[95], 0xAA);
}

TEST_F(CurrentExportsTest, AFailedAlarmReadLeavesTheBlockAlone) {
  openCirrantStation({*consolesim::parseFaultRule("crc-block@1")});
  std::array<std::uint8_t, 94> block{};
  block.fill(0xAA);
  EXPECT_EQ(GetCirrantAlarmValues(block.data()), 0);
  EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0xAA; }));
  EXPECT_NE(log().find("(Casa) Fallo en el recuento CRC."), std::string::npos) << log();
}

// An older console's link that always reads the same conditions.
class FixedReadingLink : public stationlink::ConsoleLink {
 public:
  explicit FixedReadingLink(const SensorImage& reading)
      : ConsoleLink(stationlink::PortParams{}, stationlink::LinkServices{}), reading_(reading) {}
  platform::Status GetSensorImage(SensorImage& image) override {
    image = reading_;
    return platform::Status::ok();
  }

 private:
  SensorImage reading_;
};

TEST_F(CurrentExportsTest, AnOlderConsolesReadingTakesTheStationsOffsets) {
  clock.setLocal(2006, 3, 15, 12, 0);
  std::string dir = addStation("Viejo", "Viejo", /*model=*/0);
  makeProgram();
  ASSERT_TRUE(program->startForCommand(dir).isOk());
  setCurrentProgram(program.get());
  station::StationConfig& config = *program->currentStation();
  config.setSensorOffsets(0, 15);
  config.setSensorOffsets(1, -20);
  config.setSensorOffsets(2, 5);
  config.setCalOffsetExtra(30);
  SensorImage reading = stationlink::resetSensorImage();
  reading.outsideTemperature = 700;
  reading.insideTemperature = 680;
  reading.outsideHumidity = 98;
  reading.barometer = 29920;
  FixedReadingLink fixed(reading);
  stations->link = &fixed;

  SensorImage image{};
  ASSERT_EQ(GetCalibratedSensorImageWAlarms(&image), 1);
  EXPECT_EQ(image.outsideTemperature, 715);
  EXPECT_EQ(image.insideTemperature, 660);
  EXPECT_EQ(image.outsideHumidity, 100);
  EXPECT_EQ(image.barometer, 29950);

  // This console has no alarm-threshold block.
  std::array<std::uint8_t, 94> block{};
  EXPECT_EQ(GetCirrantAlarmValues(block.data()), 0);
  EXPECT_EQ(lineCount(log()), 1u) << log();
}

}  // namespace
}  // namespace frame
