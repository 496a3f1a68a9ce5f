#include "frame/bulletin_text.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "link/sensor_image.h"

namespace frame {
namespace {

using stationlink::SensorImage;

// Bulletin lines by label. A label's words are one blank apart and the value column
// starts after at least two, so the first double blank ends the label.
struct Parsed {
  std::string header;
  std::map<std::string, std::string> values;
  std::vector<std::size_t> valueColumns;  // in characters

  std::string at(const std::string& label) const {
    auto it = values.find(label);
    return it == values.end() ? "<no line>" : it->second;
  }
};

std::size_t chars(const std::string& s) {
  std::size_t n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

Parsed parse(const std::string& text) {
  Parsed p;
  std::istringstream in(text);
  std::getline(in, p.header);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t gap = line.find("  ");
    if (gap == std::string::npos) {
      ADD_FAILURE() << "line without a value column: " << line;
      continue;
    }
    const std::size_t value = line.find_first_not_of(' ', gap);
    p.values[line.substr(0, gap)] = line.substr(value);
    p.valueColumns.push_back(chars(line.substr(0, value)));
  }
  return p;
}

platform::CivilTime march15At1405() {
  platform::CivilTime t;
  t.year = 2026;
  t.month = 3;
  t.day = 15;
  t.hour = 14;
  t.minute = 5;
  return t;
}

// A summer afternoon as a Cirrant console reports it.
SensorImage afternoon() {
  SensorImage s = stationlink::resetSensorImage();
  s.outsideTemperature = 725;  // 72.5 °F
  s.insideTemperature = 685;   // 68.5 °F
  s.outsideHumidity = 100;     // saturated: the dew point is the temperature
  s.insideHumidity = 40;
  s.barometer = 29921;
  s.barometerTrend = 20;
  s.windSpeed = 0;  // calm: the wind chill is the temperature
  s.windSpeedAverage = 10;
  s.windDirection = 0;  // north, shown as 360
  s.rainDay = 123;
  s.rainMonth = 250;
  s.rainYear = 1000;
  s.stormRain = stationlink::kImageNone16;
  s.rainRate = 50;
  s.consoleBattery = 1024;
  return s;
}

quantities::Units metricUnits() {
  quantities::Units u;
  (void)u.SetTempUnit(quantities::kCelsius);
  (void)u.SetBarUnit(quantities::kHectopascals);
  (void)u.SetWindSpeedUnit(quantities::kKmh);
  (void)u.SetRainUnit(quantities::kMillimetres);
  return u;
}

station::StationConfig cirrantPro() {
  station::StationConfig c;  // a new station is a Cirrant Pro with a 0.01 in collector
  c.setStationName("Cerro Alto");
  return c;
}

Parsed bulletin(const SensorImage& s, const station::StationConfig& c,
                const quantities::Units& u = {}, const platform::IntlSettings& intl = {}) {
  return parse(bulletinText(s, c, u, intl, march15At1405()));
}

struct UnitCase {
  const char* name;
  bool metric;
  std::map<std::string, std::string> want;
};

class BulletinUnits : public ::testing::TestWithParam<UnitCase> {};

TEST_P(BulletinUnits, FiguresFollowTheUsersUnits) {
  const UnitCase& c = GetParam();
  const Parsed p =
      bulletin(afternoon(), cirrantPro(), c.metric ? metricUnits() : quantities::Units{});
  for (const auto& [label, value] : c.want) {
    EXPECT_EQ(p.at(label), value) << label;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bulletin, BulletinUnits,
    ::testing::Values(UnitCase{"Imperial",
                               false,
                               {{"Temperatura Exterior", "72.5 °F"},
                                {"Humedad Exterior", "100 %"},
                                {"Punto de Rocío Exterior", "72.5 °F"},
                                {"Sensación Térmica", "72.5 °F"},
                                {"Temperatura Interior", "68.5 °F"},
                                {"Humedad Interior", "40 %"},
                                {"Barómetro", "29.921 Pulg."},
                                {"Tendencia Barométrica", "Subiendo lenta."},
                                {"Velocidad del Viento", "0.0 mph"},
                                {"Velocidad Media 10 Min.", "10.0 mph"},
                                {"Dirección del Viento", "360° N"},
                                {"Intensidad de Lluvia", "0.50 Pulg/h"},
                                {"Lluvia Hoy", "1.23 Pulg."},
                                {"Lluvia del Mes", "2.50 Pulg."},
                                {"Lluvia del Año", "10.00 Pulg."},
                                {"Lluvia de Tormenta", "---"},
                                {"Batería de la Consola", "6.00 V"}}},
                      // 40.5 F is 22.5 C; 36.5 F is 20.28 C; 29.921 inHg x 33.864 = 1013.24 hPa;
                      // 10 mph x 1.609344 = 16.09 km/h; 123 tips of 0.01 in = 1.23 in = 31.24 mm.
                      UnitCase{"Metric",
                               true,
                               {{"Temperatura Exterior", "22.5 °C"},
                                {"Punto de Rocío Exterior", "22.5 °C"},
                                {"Temperatura Interior", "20.3 °C"},
                                {"Barómetro", "1013.2 hPa"},
                                {"Velocidad del Viento", "0.0 km/h"},
                                {"Velocidad Media 10 Min.", "16.1 km/h"},
                                {"Intensidad de Lluvia", "12.7 mm/h"},
                                {"Lluvia Hoy", "31.2 mm"},
                                {"Lluvia del Mes", "63.5 mm"},
                                {"Lluvia del Año", "254.0 mm"}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct CollectorCase {
  const char* name;
  std::uint8_t type;
  float click;
  int rainUnit;
  std::int16_t tips;
  const char* want;
};

class BulletinCollector : public ::testing::TestWithParam<CollectorCase> {};

TEST_P(BulletinCollector, TipsBecomeTheUsersRainUnit) {
  const CollectorCase& c = GetParam();
  station::StationConfig config = cirrantPro();
  config.setRainCollectorType(c.type);
  config.setRainClick(c.click);
  quantities::Units units;
  (void)units.SetRainUnit(c.rainUnit);
  SensorImage s = afternoon();
  s.rainDay = c.tips;
  EXPECT_EQ(bulletin(s, config, units).at("Lluvia Hoy"), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Bulletin, BulletinCollector,
    ::testing::Values(
        CollectorCase{"HundredthInchToInches", 1, 0.01f, quantities::kInches, 123, "1.23 Pulg."},
        CollectorCase{"HundredthInchToMm", 1, 0.01f, quantities::kMillimetres, 123, "31.2 mm"},
        // 50 tips of 0.2 mm are 10 mm, 0.3937 in.
        CollectorCase{"FifthMmToInches", 2, 0.2f, quantities::kInches, 50, "0.39 Pulg."},
        CollectorCase{"FifthMmToMm", 2, 0.2f, quantities::kMillimetres, 50, "10.0 mm"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Bulletin, HeaderNamesTheStationAndTheReadingInTheUsersConventions) {
  EXPECT_EQ(bulletin(afternoon(), cirrantPro()).header, "Cerro Alto  15-03-26 14:05");
  platform::IntlSettings us;
  us.dateOrder = 0;
  us.dateSeparator = '-';
  us.clock24 = false;
  EXPECT_EQ(bulletin(afternoon(), cirrantPro(), {}, us).header, "Cerro Alto  03-15-26  2:05p");
}

TEST(Bulletin, ValuesStartInOneColumn) {
  station::StationConfig config = cirrantPro();
  ASSERT_TRUE(config.setModel(6));
  config.setSensorMask(config.sensorMask() | 0x11110022);
  const Parsed p = bulletin(afternoon(), config);
  ASSERT_GT(p.valueColumns.size(), 20u);
  for (std::size_t col : p.valueColumns) EXPECT_EQ(col, p.valueColumns.front());
}

TEST(Bulletin, BasicStationShowsNoSensorItLacks) {
  const Parsed p = bulletin(afternoon(), cirrantPro());
  for (const char* absent :
       {"Temperatura 2", "Humedad 2", "Humedad de Suelo 1", "Temperatura de Suelo 1",
        "Humedad de Hoja 1", "Temperatura de Hoja 1", "Radiación Solar", "Índice UV",
        "Evapotranspiración Hoy", "Batería Baja en Transmisor"}) {
    EXPECT_EQ(p.values.count(absent), 0u) << absent;
  }
  EXPECT_EQ(p.values.size(), 18u);
}

TEST(Bulletin, ExtraSensorsTheStationHasAreShown) {
  station::StationConfig config = cirrantPro();
  ASSERT_TRUE(config.setModel(6));  // Cirrant Pro Plus: solar radiation and UV
  // Extra temperature 2, extra humidity 2, soil moisture and temperature 1, leaf wetness
  // and temperature 1.
  config.setSensorMask(config.sensorMask() | 0x11110022);
  SensorImage s = afternoon();
  s.extraTemperatures[0] = 160;  // 70 °F
  s.extraTemperatures[1] = 170;  // a sensor the station does not have
  s.extraHumidities[0] = 0xFF;
  s.soilMoistures[0] = 25;
  s.soilTemperatures[0] = 150;  // 60 °F
  s.leafWetnesses[0] = 7;
  s.leafTemperatures[0] = 0xFF;
  s.solarRadiation = 550;
  s.uvIndex = 35;
  s.etDay = 125;    // thousandths of an inch
  s.etMonth = 250;  // hundredths
  s.transmitterBattery = 0x05;
  const Parsed p = bulletin(s, config);
  const std::map<std::string, std::string> want = {
      {"Temperatura 2", "70.0 °F"},
      {"Humedad 2", "---"},
      {"Humedad de Suelo 1", "25 cb"},
      {"Temperatura de Suelo 1", "60.0 °F"},
      {"Humedad de Hoja 1", "7"},
      {"Temperatura de Hoja 1", "---"},
      {"Radiación Solar", "550 W/m²"},
      {"Índice UV", "3.5 índice"},
      {"Evapotranspiración Hoy", "0.125 Pulg."},
      {"Evapotranspiración del Mes", "2.500 Pulg."},
      {"Evapotranspiración del Año", "---"},
      {"Batería Baja en Transmisor", "1 3"},
  };
  for (const auto& [label, value] : want) EXPECT_EQ(p.at(label), value) << label;
  EXPECT_EQ(p.values.count("Temperatura 3"), 0u);
  EXPECT_EQ(p.values.count("Humedad de Suelo 2"), 0u);
}

TEST(Bulletin, ResetImageShowsDashesNotNumbers) {
  station::StationConfig config = cirrantPro();
  ASSERT_TRUE(config.setModel(6));
  config.setSensorMask(0xFFFFFFFF);
  // The reset image holds 128 for humidities, 0x8000 for the trend (which read as a
  // number would be a fast fall), and zero rain totals the console has not replaced.
  const Parsed p = bulletin(stationlink::resetSensorImage(), config);
  ASSERT_GT(p.values.size(), 40u);
  for (const auto& [label, value] : p.values) {
    if (label.rfind("Lluvia ", 0) == 0) continue;
    EXPECT_EQ(value, "---") << label;
  }
}

struct BatteryCase {
  const char* name;
  std::uint16_t raw;
  const char* want;
};

class BulletinBattery : public ::testing::TestWithParam<BatteryCase> {};

TEST_P(BulletinBattery, ConsoleBatteryInVolts) {
  SensorImage s = afternoon();
  s.consoleBattery = GetParam().raw;
  EXPECT_EQ(bulletin(s, cirrantPro()).at("Batería de la Consola"), GetParam().want);
}

// volts = (raw x 300 / 512) / 100: 1024 gives 600 hundredths.
INSTANTIATE_TEST_SUITE_P(Bulletin, BulletinBattery,
                         ::testing::Values(BatteryCase{"BelowThreshold", 517, "---"},
                                           BatteryCase{"Full", 1024, "6.00 V"},
                                           BatteryCase{"NoData", 0x8000, "---"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Bulletin, OlderConsoleShowsOnlyWhatItReports) {
  station::StationConfig config = cirrantPro();
  ASSERT_TRUE(config.setModel(0));                     // Basalt II: no outside humidity
  config.setSensorMask(config.sensorMask() | 0x8000);  // with a rain collector
  SensorImage s = afternoon();
  s.barometerTrend = -20;
  s.rainDay = 0;  // the older console's image always holds zero here
  s.rainYear = 100;
  const Parsed p = bulletin(s, config);
  EXPECT_EQ(p.at("Tendencia Barométrica"), "Bajando");
  EXPECT_EQ(p.at("Lluvia Hoy"), "---");
  EXPECT_EQ(p.at("Lluvia del Año"), "1.00 Pulg.");
  for (const char* absent : {"Humedad Exterior", "Punto de Rocío Exterior", "Índice de Calor",
                             "Intensidad de Lluvia", "Batería de la Consola"}) {
    EXPECT_EQ(p.values.count(absent), 0u) << absent;
  }
  EXPECT_EQ(p.at("Sensación Térmica"), "72.5 °F");
}

}  // namespace
}  // namespace frame
