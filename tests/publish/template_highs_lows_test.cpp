// Highs and lows for the pages: stored daily summaries merged with the current reading.
#include <gtest/gtest.h>

#include <string>

#include "database/daily_summary.h"
#include "database/weather_database.h"
#include "platform/clock.h"
#include "platform/testing/mem_file_system.h"
#include "publish/publish_context.h"
#include "publish/template_converter.h"

namespace publish {
namespace {

using namespace records;  // NOLINT(google-build-using-namespace): the summary offsets

struct StoredDay {
  int month;
  int day;
  std::int16_t highTemp;
  int highMinutes;
  std::int16_t lowTemp;
  int lowMinutes;
  std::int16_t highWind;  // tenths of mph
  int highWindMinutes;
};

class TemplateHighsLows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(files_.createDirectories("/st").isOk());
    (void)db_.open("/st");
    // 2006: a hot and a cold day in January, one in early March, and today so far.
    for (const StoredDay& d : {StoredDay{1, 10, 900, 780, -50, 300, 80, 600},
                               StoredDay{3, 2, 650, 840, 300, 420, 120, 700},
                               StoredDay{3, 15, 700, 730, 410, 360, 250, 570}}) {
      database::DailySummaryObject s;
      ASSERT_EQ(database::ResetSummary(s, d.month, d.day, 2006), 0);
      Record88& a = s.a.record;
      a.setI16(kSumAHighOutsideTemp, d.highTemp);
      a.setPacked12(kSumATimeSlots, kSlotAHighOutsideTemp,
                    static_cast<std::uint16_t>(d.highMinutes));
      a.setI16(kSumALowOutsideTemp, d.lowTemp);
      a.setPacked12(kSumATimeSlots, kSlotALowOutsideTemp, static_cast<std::uint16_t>(d.lowMinutes));
      a.setI16(kSumAHighWindSpeed, d.highWind);
      a.setPacked12(kSumATimeSlots, kSlotAHighWindSpeed,
                    static_cast<std::uint16_t>(d.highWindMinutes));
      ASSERT_TRUE(db_.EditSummaryRecord(s).isOk());
    }
    clock_.setLocal(2006, 3, 15, 15, 0);
    sources_.station.setModel(static_cast<std::uint16_t>(station::StationModel::kTesselIII));
    sources_.station.setSensorMask(0xFFFFFFFFu);
    sources_.database = &db_;
    sources_.clock = &clock_;
    sources_.current = stationlink::resetSensorImage();
    sources_.current.windSpeed = 10;
  }

  std::string fill(std::string_view text) {
    return fillTemplateText(buildPublishContext(sources_), text);
  }

  platform::MemFileSystem files_;
  database::WeatherDatabase db_{files_};
  platform::FakeClock clock_;
  PublishSources sources_;
};

TEST_F(TemplateHighsLows, TodayTheMonthAndTheYearComeFromTheSummariesOnAnyModel) {
  sources_.current.outsideTemperature = 650;
  EXPECT_EQ(fill("<!--hiOutsideTemp--> <!--hiOutsideTempTime--> <!--lowOutsideTemp--> "
                 "<!--lowOutsideTempTime-->"),
            "70.0 12:10 41.0  6:00");
  EXPECT_EQ(fill("<!--hiMonthlyOutsideTemp--> <!--lowMonthlyOutsideTemp--> "
                 "<!--hiYearlyOutsideTemp--> <!--lowYearlyOutsideTemp-->"),
            "70.0 30.0 90.0 -5.0");
  EXPECT_EQ(fill("<!--hiWindSpeed--> <!--hiWindSpeedTime--> <!--hiYearlyWindSpeed-->"),
            "25.0  9:30 25.0");
  // Nothing anywhere holds a barometer.
  EXPECT_EQ(fill("<!--hiBarometer--> <!--lowYearlyBarometer--> <!--hiBarometerTime-->"),
            "--- --- ---");
}

TEST_F(TemplateHighsLows, TheCurrentReadingRaisesTodayAndTheMonthButATieKeepsTheEarlierTime) {
  sources_.current.outsideTemperature = 720;
  EXPECT_EQ(fill("<!--hiOutsideTemp--> <!--hiOutsideTempTime--> <!--hiMonthlyOutsideTemp--> "
                 "<!--hiYearlyOutsideTemp-->"),
            "72.0 15:00 72.0 90.0");
  sources_.current.outsideTemperature = 700;
  EXPECT_EQ(fill("<!--hiOutsideTemp--> <!--hiOutsideTempTime-->"), "70.0 12:10");
}

TEST_F(TemplateHighsLows, WithoutADatabaseOnlyTheReadingCountsAndTheRestIsMissing) {
  sources_.database = nullptr;
  sources_.current.outsideTemperature = 650;
  EXPECT_EQ(fill("<!--hiOutsideTemp--> <!--lowYearlyOutsideTemp--> <!--hiInsideTemp-->"),
            "65.0 65.0 ---");
}

TEST(TemplateConversion, WritesThePageAndRefusesToOverwriteTheTemplate) {
  platform::MemFileSystem files;
  ASSERT_TRUE(files.replaceFileAtomically("/w/index.htx", "<p><!--StationName--></p>\n").isOk());
  PublishSources sources;
  sources.station.setStationName("Cumbre");
  const PublishContext context = buildPublishContext(sources);

  ASSERT_TRUE(convertTemplate(context, files, "/w/index.htx", "/w/index.htm").isOk());
  EXPECT_EQ(*files.readFile("/w/index.htm"), "<p>Cumbre</p>\n");

  const platform::Status same = convertTemplate(context, files, "/w/index.htx", "/w//./index.htx");
  EXPECT_EQ(same.kind(), platform::Errc::kBadArgument);
  EXPECT_EQ(same.message(), "No se pudo abrir archivo html para escritura: /w//./index.htx");
  EXPECT_EQ(*files.readFile("/w/index.htx"), "<p><!--StationName--></p>\n");

  const platform::Status missing = convertTemplate(context, files, "/w/none.htx", "/w/none.htm");
  EXPECT_FALSE(missing.isOk());
  EXPECT_EQ(missing.message(), "No se pudo abrir archivo de plantilla para lectura: /w/none.htx");
  EXPECT_FALSE(files.exists("/w/none.htm"));
}

}  // namespace
}  // namespace publish
