// The APRS report line, piece by piece, against packets worked out by hand.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "publish/aprs_report.h"
#include "station/station_config_layout.h"

namespace publish {
namespace {

namespace layout = station::layout;

constexpr std::uint32_t kAllSensors = (1u << 0) | (1u << 4) | (1u << 8) | (1u << 9) |
                                      (1u << 10) | (1u << 11) | (1u << 15);

// Everything a report reads, changed row by row.
struct Case {
  station::StationConfig config;
  stationlink::SensorImage image = stationlink::resetSensorImage();
  std::vector<double> history;
  std::string barometerData;
  std::optional<double> todayRain;
  std::optional<HistoryWind> wind;  // in place of the samples' wind when set
};

void place(station::StationConfig& c) {
  c.set(layout::kLatDeg, std::int16_t{37});
  c.set(layout::kLatMin, std::int16_t{45});
  c.set(layout::kLatSec, std::int16_t{30});
  c.set(layout::kLatSouth, std::uint8_t{0});
  c.set(layout::kLonDeg, std::int16_t{122});
  c.set(layout::kLonMin, std::int16_t{7});
  c.set(layout::kLonSec, std::int16_t{30});
  c.set(layout::kLonWest, std::uint8_t{1});
}

// A Cirrant Pro Plus on a mild afternoon with the real-time view's wind history.
Case cirrantProPlus() {
  Case k;
  EXPECT_TRUE(k.config.setModel(static_cast<std::uint16_t>(station::StationModel::kCirrantProPlus)));
  k.config.setSensorMask(kAllSensors);
  k.config.setAprsCallSign("n0call");
  k.config.setRainCollectorType(1);
  place(k.config);
  k.image.windDirection = 225;
  k.image.windSpeed = 5;
  k.image.outsideTemperature = 652;
  k.image.solarRadiation = 850;
  k.image.rainDay = 25;
  k.image.outsideHumidity = 55;
  k.image.barometer = 30120;
  k.history = {3, 12, 4, 4, 5, 9, 7, 2, 8, 4, 6};  // the oldest of the 11 is out of the gust
  k.barometerData =
      "BAR 30120\nELEVATION 100\nDEW POINT 50\nVIRTUAL TEMP 62\nC 29\nR 1001\nBARCAL 0\n";
  return k;
}

// A Tessel III without the real-time view, today's rain from the daily summary.
Case tesselIII() {
  Case k;
  EXPECT_TRUE(k.config.setModel(static_cast<std::uint16_t>(station::StationModel::kTesselIII)));
  k.config.setSensorMask(kAllSensors);
  k.config.setAprsCallSign("EA4XYZ-12");
  place(k.config);
  k.image.windDirection = 90;
  k.image.windSpeed = 7;
  k.image.outsideTemperature = 452;
  k.image.outsideHumidity = 80;
  k.image.barometer = 29920;
  k.todayRain = 0.37;
  return k;
}

std::string packetOf(const Case& k) {
  std::optional<HistoryWind> wind =
      k.history.empty() ? std::nullopt : std::optional(historyWind(k.history));
  if (k.wind) wind = k.wind;
  const AprsInputs in{k.config,        k.image,     wind,
                      k.barometerData, k.todayRain, platform::CivilTime{2006, 3, 10, 15, 30}};
  auto r = BuildAprsReport(in);
  return r.isOk() ? r->packet : "error";
}

struct Row {
  const char* name;
  std::function<Case()> make;
  const char* packet;
};

const char* const kProPlus =
    "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g012t065L850P025h55b10200.Kqzt";
const char* const kTessel = "EA4XYZ-12>APRS,TCPIP*:@101530z3745.50N/12207.50W_090/007g...t045P037h80b10132.Kqz";

TEST(AprsReport, PacketsPieceByPiece) {
  auto change = [](Case (*base)(), std::function<void(Case&)> f) {
    return [base, f] {
      Case k = base();
      f(k);
      return k;
    };
  };
  const Row rows[] = {
      {"Cirrant Pro Plus", cirrantProPlus, kProPlus},
      {"Tessel III", tesselIII, kTessel},
      {"without history the current speed and no gust",
       change(cirrantProPlus, [](Case& k) { k.history.clear(); }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g...t065L850P025h55b10200.Kqzt"},
      {"1005 W/m2", change(cirrantProPlus, [](Case& k) { k.image.solarRadiation = 1005; }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g012t065l005P025h55b10200.Kqzt"},
      {"999 W/m2", change(cirrantProPlus, [](Case& k) { k.image.solarRadiation = 999; }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g012t065L999P025h55b10200.Kqzt"},
      {"2000 W/m2 has no piece",
       change(cirrantProPlus, [](Case& k) { k.image.solarRadiation = 2000; }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g012t065P025h55b10200.Kqzt"},
      {"humidity 100 on Cirrant",
       change(cirrantProPlus, [](Case& k) { k.image.outsideHumidity = 100; }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g012t065L850P025h00b10200.Kqzt"},
      {"humidity 100 on an older model",
       change(tesselIII, [](Case& k) { k.image.outsideHumidity = 100; }),
       "EA4XYZ-12>APRS,TCPIP*:@101530z3745.50N/12207.50W_090/007g...t045P037h..b10132.Kqz"},
      {"-5 F", change(cirrantProPlus, [](Case& k) { k.image.outsideTemperature = -50; }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g012t-05L850P025h55b10200.Kqzt"},
      {"Cirrant north is 360", change(cirrantProPlus, [](Case& k) { k.image.windDirection = 0; }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_360/005g012t065L850P025h55b10200.Kqzt"},
      {"older north is 000", change(tesselIII, [](Case& k) { k.image.windDirection = 360; }),
       "EA4XYZ-12>APRS,TCPIP*:@101530z3745.50N/12207.50W_000/007g...t045P037h80b10132.Kqz"},
      {"direction 0x8000",
       change(cirrantProPlus, [](Case& k) { k.image.windDirection = 0x8000; }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_.../...g...t065L850P025h55b10200.Kqzt"},
      {"a missing history sample",
       change(cirrantProPlus, [](Case& k) { k.history.back() = kWindSampleMissing; }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_.../...g...t065L850P025h55b10200.Kqzt"},
      {"a history too short for a gust",
       change(cirrantProPlus, [](Case& k) { k.wind = HistoryWind{5.4, std::nullopt}; }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g...t065L850P025h55b10200.Kqzt"},
      {"1000 rain tips do not fit", change(cirrantProPlus, [](Case& k) { k.image.rainDay = 1000; }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g012t065L850P...h55b10200.Kqzt"},
      {"no rain collector",
       change(cirrantProPlus, [](Case& k) { k.config.setSensorMask(kAllSensors & ~(1u << 15)); }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g012t065L850P...h55b10200.Kqzt"},
      {"R = 0 above 925 ft",
       change(cirrantProPlus,
              [](Case& k) {
                k.barometerData = "BAR 30120\nELEVATION 1000\nDEW POINT 50\nVIRTUAL TEMP 62\nC 29\nR 0\n";
              }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g012t065L850P025h55b......Kqzt"},
      {"empty barometer data", change(cirrantProPlus, [](Case& k) { k.barometerData.clear(); }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g012t065L850P025h55b......Kqzt"},
      {"missing barometer", change(cirrantProPlus, [](Case& k) { k.image.barometer = -32768; }),
       "N0CALL>APRS,TCPIP*:@101530z3745.50N/12207.50W_225/005g012t065L850P025h55b......Kqzt"},
      {"older: no summary of today", change(tesselIII, [](Case& k) { k.todayRain.reset(); }),
       "EA4XYZ-12>APRS,TCPIP*:@101530z3745.50N/12207.50W_090/007g...t045P...h80b10132.Kqz"},
      {"unset location", change(cirrantProPlus, [](Case& k) { k.config.set(layout::kLatDeg, std::int16_t{-500}); }),
       "error"},
      {"latitude beyond 90", change(cirrantProPlus, [](Case& k) { k.config.set(layout::kLatDeg, std::int16_t{91}); }),
       "error"},
      {"call sign too long", change(cirrantProPlus, [](Case& k) { k.config.setAprsCallSign("ABCDEFG"); }),
       "error"},
  };
  for (const Row& row : rows) EXPECT_EQ(packetOf(row.make()), row.packet) << row.name;
}

TEST(AprsReport, TheLogLineNamesThePressuresAndTheRatio) {
  const Case k = cirrantProPlus();
  auto r = BuildAprsReport({k.config, k.image, historyWind(k.history), k.barometerData, k.todayRain,
                            platform::CivilTime{2006, 3, 10, 15, 30}});
  ASSERT_TRUE(r.isOk());
  EXPECT_EQ(r->logText, std::string("Cadena APRS: \"") + kProPlus +
                            "\" Presión a Nivel del Mar: 1020.0  Presión medida: 1016.3  R: 1.00360");
}

TEST(AprsReport, LoginTextsWithBlanksOrControlsAreRefused) {
  EXPECT_TRUE(validAprsLogin("12345"));
  EXPECT_TRUE(validAprsLogin("-1"));
  EXPECT_FALSE(validAprsLogin("12 45"));
  EXPECT_FALSE(validAprsLogin("12\n45"));
  EXPECT_FALSE(validAprsLogin(""));
}

}  // namespace
}  // namespace publish
