#include <gtest/gtest.h>

#include <sstream>

#include "database/station_generator.h"
#include "database/weather_database.h"
#include "platform/testing/mem_file_system.h"
#include "quantities/record_values.h"
#include "quantities/units.h"
#include "reports/export_globe.h"

namespace reports {
namespace {

GlobeClock clockAt(double offset, std::optional<SavingPeriod> manual = std::nullopt) {
  return GlobeClock{offset, false, manual};
}

TEST(GlobeTime, UniversalTimeByTheAutomaticRuleOrTheGivenPeriod) {
  struct Case {
    quantities::Date date;
    int minutes;
    GlobeClock clock;
    const char* expected;
  };
  const SavingPeriod summer{{{2006, 5, 1}, 120}, {{2006, 9, 1}, 180}};
  const Case cases[] = {
      {{2006, 7, 15}, 14 * 60 + 30, clockAt(-8), "200607152130"},
      {{2006, 7, 15}, 1440, clockAt(-8), "200607160700"},
      {{2006, 1, 15}, 23 * 60 + 30, clockAt(-8), "200601160730"},
      {{2006, 3, 26}, 90, clockAt(1), "200603260030"},
      {{2006, 3, 26}, 210, clockAt(1), "200603260130"},
      {{2006, 4, 30}, 1440, clockAt(-8, summer), "200605010800"},  // before the start
      {{2006, 5, 1}, 120, clockAt(-8, summer), "200605010900"},    // the start itself
      {{2006, 9, 1}, 180, clockAt(-8, summer), "200609011100"},    // the end: standard time
      {{2006, 7, 15}, 14 * 60 + 30, clockAt(5.5), "200607150800"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(globeTime(c.date, c.minutes, c.clock), c.expected)
        << c.date.month << "-" << c.date.day << " " << c.minutes;
  }
}

TEST(GlobeIds, OneToFourteenCharactersWithoutBlanks) {
  EXPECT_TRUE(validGlobeId("ESC-1234"));
  EXPECT_TRUE(validGlobeId("ññññññññññññññ"));
  for (const char* bad : {"", "ABCDEFGHIJKLMNO", "A B", "A\tB", "A\x01"}) {
    EXPECT_FALSE(validGlobeId(bad)) << bad;
  }
  EXPECT_EQ(checkGlobeIds({"", "S", "", false}).message(), "Debe rellenar todos los campos.");
  EXPECT_EQ(checkGlobeIds({"E", "S", "", true}).message(),
            "You must enter a Soil Station ID to include soil data in the GLOBE report.");
  EXPECT_TRUE(checkGlobeIds({"E", "S", "", false}).isOk());
}

TEST(GlobeSoil, MoistureCorrection) {
  EXPECT_EQ(correctedSoilMoisture(50, 75), 50);
  EXPECT_EQ(correctedSoilMoisture(50, -32768), 50);
  EXPECT_EQ(correctedSoilMoisture(50, 32767), 50);
  // Worked by hand: P(50) = 8.23747, Q = P × 1.55 = 12.76808, R = 80.1427.
  EXPECT_NEAR(correctedSoilMoisture(50, 20), 80.1427, 1e-4);
  EXPECT_EQ(correctedSoilMoisture(120, 0), 200);  // 237.8 is clamped
  EXPECT_EQ(correctedSoilMoisture(50, -40), correctedSoilMoisture(50, 0));  // clamped
}

class GlobeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(database::generateStation(mem_, "/st", {2006, 7, 14, 3, 60}).isOk());
    ASSERT_EQ(db_.open("/st"), 0);
    config_.setStationDir("/st");
    config_.setGmtOffset(-8);
    conventions_.units.SetTempUnit(quantities::kFahrenheit);
  }
  GlobeJob job(bool soil) {
    return GlobeJob{db_, config_, conventions_, {"ESC1", "SIT1", "SUE1", soil},
                    globeClock(config_, std::nullopt)};
  }
  platform::MemFileSystem mem_;
  database::WeatherDatabase db_{mem_};
  station::StationConfig config_;
  quantities::UserConventions conventions_;
};

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> items;
  std::istringstream in(line);
  for (std::string w; in >> w;) items.push_back(w);
  return items;
}

TEST_F(GlobeFile, ANoBarometerRecordShowsMTenthAndTheSpacingIsDoubled) {
  database::WeatherDataObject r;
  r.date = records::DateTime::fromDate(2006, 7, 15, 14 * 60 + 30);
  r.record = database::generatedRecord(r.date, 14 * 60 + 30, 60);
  const quantities::ValueContext ctx = conventions_.values();
  ASSERT_EQ(quantities::SetWeatherData(r.record, 0x400E0, -32768.0F, 1, ctx), 0);
  const std::string lines = globeRecordLines(job(false), r, ctx);
  ASSERT_EQ(lines.substr(0, 30), "QVXAD ESC1 SIT1 200607152130  ");
  const std::vector<std::string> items = split(lines);
  ASSERT_EQ(items.size(), 4u + 10u);
  EXPECT_EQ(items[13], "M");
  EXPECT_EQ(lines.substr(lines.size() - 5), "  M \n");
}

TEST_F(GlobeFile, SoilItemsFollowTheSensorBitsAndTheUnitsAreMetric) {
  config_.setSensorMask(0x7F0001);  // no soil temperature sensor 4 (bit 23)
  const GlobeText made = globeText(job(true), selectedDays(db_, {{{2006, 7, 15}}, {}, {}}));
  ASSERT_TRUE(made.status.isOk());
  std::istringstream in(made.text);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 2u + 2u * 24u);
  EXPECT_EQ(lines.front(), "//AA");
  EXPECT_EQ(lines.back(), "//ZZ");
  const std::vector<std::string> soil = split(lines[2]);
  ASSERT_EQ(soil.size(), 4u + 8u);
  EXPECT_EQ(soil[0], "QVXSD");
  EXPECT_EQ(soil[2], "SUE1");
  EXPECT_EQ(soil[7], "M");  // soil temperature 3 stands for sensor 4
  // Outside temperature in °C: a July day of the generator stays well under 50.
  const double outside = std::stod(split(lines[1])[4]);
  EXPECT_LT(outside, 50.0);
  EXPECT_EQ(soil[4], split(lines[1])[4]);
  EXPECT_EQ(conventions_.units.GetTempUnit(), quantities::kFahrenheit);
}

TEST_F(GlobeFile, AReadErrorWritesTheLinesMadeWithoutTheEnd) {
  std::vector<DayRecords> days = selectedDays(db_, {{{2006, 7, 15}}, {}, {}});
  days.push_back({days[0].packed, db_.NumberOfRecordsInDataBase() - 1, 5});
  auto written = writeGlobeFile(mem_, job(false), days);
  ASSERT_FALSE(written.isOk());
  EXPECT_EQ(written.status().message(), "Error obteniendo registro de la base de datos.");
  auto text = mem_.readFile("/st/globe.txt");
  ASSERT_TRUE(text.isOk());
  EXPECT_EQ(text->find("//ZZ"), std::string::npos);
  EXPECT_EQ(text->substr(0, 5), "//AA\n");
  EXPECT_EQ(conventions_.units.GetTempUnit(), quantities::kFahrenheit);
}

}  // namespace
}  // namespace reports
