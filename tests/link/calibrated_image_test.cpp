#include "link/calibrated_image.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>

namespace stationlink {
namespace {

constexpr std::int16_t kNone = kImageNone16;
constexpr std::uint16_t kBasalt = 0;     // sensorMask 0x6701: bit 8 set
constexpr std::uint16_t kTesselIII = 1;  // sensorMask 0x2601: bit 8 clear
constexpr std::uint16_t kLumeno = 4;     // sensorMask 0x6100: bit 8 set
constexpr std::uint16_t kCirrantPro = 5;

struct Readings {
  std::int16_t outsideTemperature;
  std::int16_t insideTemperature;
  std::uint8_t outsideHumidity;
  std::int16_t barometer;
};

struct Case {
  const char* name;
  std::uint16_t model;
  std::int16_t outsideTemperatureOffset;
  std::int16_t insideTemperatureOffset;
  std::int16_t humidityOffset;
  std::int16_t barometerOffset;
  Readings in;
  Readings want;
};

constexpr Case kCases[] = {
    {"humidity 2 minus 5 is 0", kBasalt, 0, 0, -5, 0, {700, 680, 2, 29920}, {700, 680, 0, 29920}},
    {"humidity 98 plus 5 is 100",
     kBasalt,
     0,
     0,
     5,
     0,
     {700, 680, 98, 29920},
     {700, 680, 100, 29920}},
    {"humidity 5 minus 5 is 0", kBasalt, 0, 0, -5, 0, {700, 680, 5, 29920}, {700, 680, 0, 29920}},
    {"humidity 50 minus 5 is 45",
     kBasalt,
     0,
     0,
     -5,
     0,
     {700, 680, 50, 29920},
     {700, 680, 45, 29920}},
    {"humidity none stays none",
     kBasalt,
     0,
     0,
     5,
     0,
     {700, 680, 0xFF, 29920},
     {700, 680, 0xFF, 29920}},
    {"temperatures take their own offsets",
     kBasalt,
     15,
     -20,
     0,
     0,
     {700, 680, 50, 29920},
     {715, 660, 50, 29920}},
    {"temperatures without reading stay none",
     kBasalt,
     15,
     -20,
     0,
     0,
     {kNone, kNone, 50, 29920},
     {kNone, kNone, 50, 29920}},
    {"barometer offset with bit 8",
     kBasalt,
     0,
     0,
     0,
     30,
     {700, 680, 50, 29920},
     {700, 680, 50, 29950}},
    {"barometer offset with bit 8, Lumeno",
     kLumeno,
     0,
     0,
     0,
     -120,
     {700, 680, 50, 29920},
     {700, 680, 50, 29800}},
    {"no barometer offset without bit 8",
     kTesselIII,
     0,
     0,
     0,
     30,
     {700, 680, 50, 29920},
     {700, 680, 50, 29920}},
    {"barometer none stays none",
     kBasalt,
     0,
     0,
     0,
     30,
     {700, 680, 50, kNone},
     {700, 680, 50, kNone}},
    {"temperature sums past the field are none",
     kBasalt,
     100,
     -100,
     0,
     0,
     {32700, -32700, 50, 29920},
     {kNone, kNone, 50, 29920}},
    {"a sum landing on the no-data value is none",
     kBasalt,
     -1,
     0,
     0,
     0,
     {-32767, 680, 50, 29920},
     {kNone, 680, 50, 29920}},
    {"barometer sum past the field is none",
     kBasalt,
     0,
     0,
     0,
     200,
     {700, 680, 50, 32700},
     {700, 680, 50, kNone}},
    {"largest sums that fit are kept",
     kBasalt,
     67,
     -67,
     0,
     67,
     {32700, -32700, 50, 32700},
     {32767, -32767, 50, 32767}},
};

class CalibrateSensorImage : public ::testing::TestWithParam<Case> {};

// Every other field carries a reading, so a calibration that touches the wrong field shows.
SensorImage imageWith(const Readings& r) {
  SensorImage s = resetSensorImage();
  s.insideHumidity = 41;
  s.windSpeed = 7;
  s.windDirection = 270;
  s.rainDay = 12;
  s.barometerTrend = -20;
  s.extraTemperatures[0] = 150;
  s.consoleBattery = 1024;
  s.outsideTemperature = r.outsideTemperature;
  s.insideTemperature = r.insideTemperature;
  s.outsideHumidity = r.outsideHumidity;
  s.barometer = r.barometer;
  return s;
}

station::StationConfig stationWith(const Case& c) {
  station::StationConfig config;
  EXPECT_TRUE(config.setModel(c.model));
  config.setSensorOffsets(0, c.outsideTemperatureOffset);
  config.setSensorOffsets(1, c.insideTemperatureOffset);
  config.setSensorOffsets(2, c.humidityOffset);
  config.setSensorOffsets(3, 99);  // the fourth word is not a reading's offset
  config.setCalOffsetExtra(c.barometerOffset);
  return config;
}

TEST_P(CalibrateSensorImage, AppliesTheProgramOffsets) {
  const Case& c = GetParam();
  SensorImage got = calibrateSensorImage(imageWith(c.in), stationWith(c));
  EXPECT_EQ(encodeSensorImage(got), encodeSensorImage(imageWith(c.want)));
}

INSTANTIATE_TEST_SUITE_P(ClassicStations, CalibrateSensorImage, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

TEST(CalibrateSensorImage, CirrantReadingsPassUnchanged) {
  const Case c{"cirrant", kCirrantPro, 15, -20, -5, 30, {700, 680, 2, 29920}, {}};
  const station::StationConfig config = stationWith(c);
  ASSERT_NE(config.sensorMask() & kBarometerOffsetBit, 0u);  // bit 8 set, yet no offset
  const SensorImage in = imageWith(c.in);
  EXPECT_EQ(encodeSensorImage(calibrateSensorImage(in, config)), encodeSensorImage(in));
}

}  // namespace
}  // namespace stationlink
