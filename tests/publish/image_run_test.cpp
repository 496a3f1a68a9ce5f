#include "publish/image_run.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "database/station_generator.h"
#include "database/weather_database.h"
#include "link/sensor_image.h"
#include "platform/string_table.h"
#include "platform/testing/mem_file_system.h"
#include "publish/image_values.h"
#include "quantities/user_conventions.h"
#include "station/station_config.h"

namespace publish {
namespace {

constexpr int kOutsideTemp = 1;         // OutsideTemp.gif, text 8609
constexpr int kOutsideTempHistory = 1;  // OutsideTempHistory.gif, text 8705

std::uint64_t all(int count) { return (std::uint64_t{1} << count) - 1; }

class ImageRun : public ::testing::Test {
 protected:
  ImageInputs inputs(const station::StationConfig& config, database::WeatherDatabase* db = nullptr,
                     const stationlink::SensorImage* reading = nullptr) {
    return ImageInputs{files_,  "/st", config, conventions_.values(), reading, db,
                       records::DateTime::fromDate(2006, 3, 2, 12 * 60)};
  }

  std::string header(const std::string& path, std::size_t n) {
    auto bytes = files_.readFile(path);
    return bytes ? bytes->substr(0, n) : std::string();
  }

  platform::MemFileSystem files_;
  quantities::UserConventions conventions_;
};

TEST_F(ImageRun, StationWithoutOutsideTemperatureLogsBothMessagesAndListsNothing) {
  station::StationConfig lumeno;
  ASSERT_TRUE(lumeno.setModel(4));  // inside sensors and barometer only
  ImageSelection s;
  s.currentMask = std::uint64_t{1} << kOutsideTemp;
  s.historyMask = std::uint64_t{1} << kOutsideTempHistory;
  ImageRunLog log;
  const auto written = drawProfileImages(inputs(lumeno), 1, s, "cur", "his", log);
  EXPECT_TRUE(written.empty());
  EXPECT_FALSE(log.errors);
  EXPECT_EQ(log.messages, (std::vector<std::string>{
                              "Error al crear imagen de Temperatura Exterior. Comprobar Sensores.",
                              platform::loadString(8545)}));
  EXPECT_FALSE(files_.exists("/st/Images/Profile1/OutsideTemp.gif"));
  EXPECT_FALSE(files_.exists("/st/Images/Profile1/OutsideTempHistory.gif"));
}

TEST_F(ImageRun, PictureThatCannotBeWrittenLogsItsNameAndFlagsErrors) {
  ASSERT_TRUE(files_.createDirectories("/st/Images"));
  ASSERT_TRUE(files_.replaceFileAtomically("/st/Images/Profile2", "not a directory"));
  station::StationConfig config;
  ImageSelection s;
  s.currentMask = std::uint64_t{1} << kOutsideTemp;
  ImageRunLog log;
  EXPECT_TRUE(drawProfileImages(inputs(config), 2, s, "", "", log).empty());
  EXPECT_TRUE(log.errors);
  EXPECT_EQ(log.messages, std::vector<std::string>{"Imposible crear imagen: OutsideTemp.gif"});
}

TEST_F(ImageRun, EveryPictureIsWrittenAtItsSizeAsSixteenColourGif87a) {
  station::StationConfig config;
  config.setSensorMask(0xFFFFFFFF);
  config.setSensorMask2(0x3);
  database::GeneratorOptions g;
  g.year = 2006;
  g.month = 3;
  g.day = 1;
  g.days = 2;
  ASSERT_TRUE(database::generateStation(files_, "/st", g));
  database::WeatherDatabase db(files_);
  ASSERT_EQ(db.open("/st"), 0);
  const stationlink::SensorImage reading = stationlink::resetSensorImage();
  // Every picture once with records and once without any (empty spans); the other
  // sizes with one picture of each family.
  struct Run {
    int size, cw, ch, hw, hh;
    bool records;
    std::uint64_t current, history;
  };
  const Run kRuns[] = {{2, 200, 200, 480, 300, true, all(43), all(48)},
                       {3, 300, 60, 600, 120, false, all(43), all(48)},
                       {0, 100, 100, 200, 120, true, 2, 2},
                       {1, 150, 150, 320, 200, true, 2, 2}};
  for (const Run& run : kRuns) {
    SCOPED_TRACE("size " + std::to_string(run.size));
    ImageSelection s{run.current, run.history, static_cast<std::uint8_t>(run.size),
                     static_cast<std::uint8_t>(run.size & 3)};
    ImageRunLog log;
    const auto written = drawProfileImages(inputs(config, run.records ? &db : nullptr, &reading), 1,
                                           s, "cur/", "his/", log);
    EXPECT_TRUE(log.messages.empty()) << log.messages.front();
    ASSERT_EQ(written.size(),
              static_cast<std::size_t>(std::popcount(run.current) + std::popcount(run.history)));
    for (const WrittenImage& w : written) {
      const bool current = w.family == ImageFamily::kCurrent;
      const int width = current ? run.cw : run.hw, height = current ? run.ch : run.hh;
      const std::string want = std::string("GIF87a") + char(width & 0xFF) + char(width >> 8) +
                               char(height & 0xFF) + char(height >> 8) + char(0xB3);
      EXPECT_EQ(header(w.path(), 11), want) << w.fileName;
      EXPECT_EQ(w.subdirectory, current ? "cur/" : "his/");
    }
  }
}

struct Reading {
  const char* name;
  int imageIndex;
  bool celsius;
  void (*set)(stationlink::SensorImage&);
  const char* text;
  const char* unit;
};

const Reading kReadings[] = {
    {"outside temperature in °C", 1, true,
     [](stationlink::SensorImage& i) { i.outsideTemperature = 723; }, "22.4", "°C"},
    {"outside temperature none", 1, false, [](stationlink::SensorImage&) {}, "---", "°F"},
    {"humidity 128 is none", 5, false,
     [](stationlink::SensorImage& i) { i.outsideHumidity = 128; }, "---", "%"},
    {"dew point from temperature and humidity", 7, false,
     [](stationlink::SensorImage& i) {
       i.outsideTemperature = 700;
       i.outsideHumidity = 50;
     },
     "50.5", "°F"},
    {"wind direction 0 is none, 90 is east", 10, false,
     [](stationlink::SensorImage& i) { i.windDirection = 90; }, "E 90°", ""},
    {"rain today in tips of 0.01 in", 12, false,
     [](stationlink::SensorImage& i) { i.rainDay = 25; }, "0.25", "Pulg."},
    {"extra temperature 2 in the first byte", 32, false,
     [](stationlink::SensorImage& i) { i.extraTemperatures[0] = 160; }, "70.0", "°F"},
};

TEST(CurrentValue, ReadsTheImagesQuantityInTheUsersUnits) {
  for (const Reading& r : kReadings) {
    SCOPED_TRACE(r.name);
    quantities::UserConventions c;
    if (r.celsius) (void)c.units.SetTempUnit(quantities::kCelsius);
    stationlink::SensorImage image = stationlink::resetSensorImage();
    r.set(image);
    const ShownValue v = currentValue(currentImages()[static_cast<std::size_t>(r.imageIndex)], &image,
                                      c.values(), quantities::StationRainCollector{1, 0.01f});
    EXPECT_EQ(v.text, r.text);
    EXPECT_EQ(v.unit, r.unit);
  }
}

}  // namespace
}  // namespace publish
