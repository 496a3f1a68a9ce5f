// The clear-sky estimate that a download keeps at offset 42 of each archive record, through
// the program's own download from the in-process console.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "database/weather_database.h"
#include "program_fixture.h"
#include "records/month_format.h"
#include "station/station_setup.h"

namespace frame {
namespace {

using testing::ProgramTest;

class ConsoleOnPortOne : public platform::SerialPortOpener {
 public:
  ConsoleOnPortOne(consolesim::ConsoleEngine& engine, platform::FakeClock& clock)
      : engine_(engine), clock_(clock) {}
  platform::Result<std::unique_ptr<platform::SerialPort>> open(
      const std::string& port, const platform::SerialSettings&) override {
    if (port != "1") return platform::Status(platform::Errc::kNotFound, "no such port", -1);
    return std::unique_ptr<platform::SerialPort>(new consolesim::SimSerialPort(engine_, clock_));
  }

 private:
  consolesim::ConsoleEngine& engine_;
  platform::FakeClock& clock_;
};

struct Stored {
  int minutes;
  std::int16_t estimate;
};

class SolarEstimateDownloadTest : public ProgramTest {
 protected:
  // A console whose clock reads `day` 00:10 local, holding the day before in 30-minute
  // records.
  void startConsole(int year, int month, int day) {
    clock.setLocal(year, month, day, 0, 10);
    consolesim::EngineOptions o;
    o.historyDays = 1;
    o.archiveIntervalMinutes = 30;
    engine = std::make_unique<consolesim::ConsoleEngine>(clock, o);
    opener = std::make_unique<ConsoleOnPortOne>(*engine, clock);
    serialPorts = opener.get();
    realDownloads = true;
  }

  std::vector<Stored> download(const std::string& dir) {
    makeProgram();
    EXPECT_EQ(program->run(parseCommandLineSwitches({dir, "-d"})), kProgramExitOk) << log();
    database::WeatherDatabase db(fs);
    EXPECT_EQ(db.open(dir), 0);
    std::vector<Stored> out;
    for (int i = 0; i < db.NumberOfRecordsInDataBase(); ++i) {
      database::WeatherDataObject obj;
      EXPECT_EQ(db.GetRecord(obj, i), 0);
      out.push_back({obj.date.minutes, obj.record.i16(records::kArcSolarEstimate)});
    }
    return out;
  }

  std::unique_ptr<consolesim::ConsoleEngine> engine;
  std::unique_ptr<ConsoleOnPortOne> opener;
};

TEST_F(SolarEstimateDownloadTest, ANewStationWithoutAPositionStoresNoEstimate) {
  startConsole(2006, 6, 22);
  const std::string dir = addStation("Cumbre", "Cumbre", 6);
  const std::vector<Stored> stored = download(dir);
  ASSERT_EQ(stored.size(), 48u);
  for (const Stored& s : stored) {
    EXPECT_EQ(static_cast<std::uint16_t>(s.estimate), 0x8000) << "at minute " << s.minutes;
  }
}

TEST_F(SolarEstimateDownloadTest, APlacedStationsEstimateIsDarkAtNightAndPeaksAtSolarNoon) {
  // 40.5 N 3.7 W, one hour east, automatic saving: on 21 June solar noon is about 12:16 UT,
  // 14:16 on the clock; the sun rises near 06:45 and sets near 21:50.
  startConsole(2006, 6, 22);
  const std::string dir = addStation("Cumbre", "Cumbre", 6);
  auto config = station::readStationRecord(fs, dir);
  ASSERT_TRUE(config.isOk());
  ASSERT_TRUE(station::setLocation(*config, 40.5, -3.7).isOk());
  config->setGmtOffset(1.0F);
  ASSERT_TRUE(station::writeStationRecord(fs, *config, dir).isOk());

  const std::vector<Stored> stored = download(dir);
  ASSERT_EQ(stored.size(), 48u);
  Stored peak{-1, -1};
  for (const Stored& s : stored) {
    if (s.minutes < 6 * 60 || s.minutes > 22 * 60 + 30) {
      EXPECT_EQ(s.estimate, 0) << "at minute " << s.minutes;
    }
    if (s.estimate > peak.estimate) peak = s;
  }
  EXPECT_NEAR(peak.minutes, 14 * 60 + 16, 30);
  EXPECT_GT(peak.estimate, 800);
}

}  // namespace
}  // namespace frame
