// Filling template text: which comments are tags, and what the tags give.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "publish/publish_context.h"
#include "publish/template_converter.h"

namespace publish {
namespace {

using stationlink::SensorImage;

// A Cirrant Pro with every sensor at 15:00 on 15 March 2006, 72.5 °F and 50 % outside.
struct Scene {
  station::StationConfig station;
  SensorImage image = stationlink::resetSensorImage();
  quantities::UserConventions conventions;
  platform::FakeClock clock;
  std::optional<stationlink::WindHistory> wind;

  Scene() {
    station.setModel(static_cast<std::uint16_t>(station::StationModel::kCirrantPro));
    station.setSensorMask(0xFFFFFFFFu);
    station.setRainCollectorType(1);  // 0.01 in
    station.setNoaaState("");
    clock.setLocal(2006, 3, 15, 15, 0);
    image.outsideTemperature = 725;
    image.outsideHumidity = 50;
    image.windDirection = 180;
    image.rainMonth = 120;
  }
  PublishContext context() const {
    PublishSources s;
    s.station = station;
    s.current = image;
    s.clock = &clock;
    s.conventions = conventions;
    if (wind) s.windHistory = &*wind;
    return buildPublishContext(s);
  }
  void model(station::StationModel m) {
    station.setModel(static_cast<std::uint16_t>(m));
    station.setSensorMask(0xFFFFFFFFu);
  }
};

struct FillCase {
  const char* name;
  void (*arrange)(Scene&);
  const char* text;
  const char* want;
};

void nothing(Scene&) {}

const FillCase kCases[] = {
    {"CapitalLettersAreTheSameTag", nothing, "<!--OUTSIDETEMP-->", "72.5"},
    {"BlanksInsideMakeNoTag", nothing, "<!-- outsideTemp -->", "<!-- outsideTemp -->"},
    {"AnEmptyCommentStaysAndTheNextTagCounts", nothing, "a<!---->b<!--date-->c",
     "a<!---->b15-03-06c"},
    {"AStoredTextThatIsNoTagStays", nothing, "<!--Humidity4-->", "<!--Humidity4-->"},
    {"AlarmsAreAlwaysMissing", nothing, "<!--outsideAlarms-->", "---"},
    {"MonthRainOnAnOlderModelIsMissing",
     [](Scene& s) { s.model(station::StationModel::kTesselIII); }, "<!--monthlyRain-->", "---"},
    {"MonthRainOnACirrantIsTheMonthsRain", nothing, "<!--monthlyRain-->", "1.20"},
    {"NorthGivenAsZeroIs360", [](Scene& s) { s.image.windDirection = 0; }, "<!--windDir-->", "360"},
    {"350DegreesIsNorth", [](Scene& s) { s.image.windDirection = 350; }, "<!--windDirection-->",
     "N"},
    {"Direction7FFFIsMissing", [](Scene& s) { s.image.windDirection = 0x7FFF; },
     "<!--windDir--> <!--windDirection-->", "--- ---"},
    {"Direction8000IsMissing", [](Scene& s) { s.image.windDirection = 0x8000; }, "<!--windDir-->",
     "---"},
    {"DirectionAbove360IsMissing", [](Scene& s) { s.image.windDirection = 361; },
     "<!--windDirection-->", "---"},
    {"AnEmptyStateIsOneBlank", nothing, "[<!--StationState-->]", "[ ]"},
    {"TwoTagsOnOneLine", nothing, "<!--outsideTemp-->/<!--outsideHumidity-->", "72.5/50"},
    {"ATagSplitOverTwoLinesStays", nothing, "<!--outside\nTemp-->", "<!--outside\nTemp-->"},
    {"AnUnclosedCommentStays", nothing, "x <!--outsideTemp", "x <!--outsideTemp"},
    {"ValuesAreBareAndUnitsComeFromUnitTags", nothing, "<!--outsideTemp--> <!--tempUnit-->",
     "72.5 °F"},
    {"AMissingSensorGivesDashes", [](Scene& s) { s.station.setSensorMask(0xFFFFFFFEu); },
     "<!--outsideTemp-->", "---"},
    {"AnOlderModelsOffsetIsAddedOnce",
     [](Scene& s) {
       s.model(station::StationModel::kBasaltII);
       s.station.setSensorOffsets(0, 15);
       s.image.outsideTemperature = 700;
     },
     "<!--outsideTemp--> <!--hiOutsideTemp-->", "71.5 71.5"},
    {"ACirrantCalibratesItself", [](Scene& s) { s.station.setSensorOffsets(0, 15); },
     "<!--outsideTemp-->", "72.5"},
    {"CelsiusAsTheUserChose", [](Scene& s) { (void)s.conventions.units.SetTempUnit(1); },
     "<!--outsideTemp--><!--tempUnit-->", "22.5°C"},
    {"UnitTagsFollowTheUsersUnits",
     [](Scene& s) {
       (void)s.conventions.units.SetBarUnit(quantities::kHectopascals);
       (void)s.conventions.units.SetRainUnit(quantities::kMillimetres);
       (void)s.conventions.units.SetWindSpeedUnit(quantities::kKmh);
     },
     "<!--barUnit--> <!--rainUnit--> <!--rateUnit--> <!--windUnit--> <!--dailyRain-->",
     "hPa mm mm/h km/h 0.0"},
    {"NoBarometerOnTheOldestModels",
     [](Scene& s) {
       s.model(station::StationModel::kTesselII);
       s.image.barometer = 29697;
     },
     "<!--barometer--> <!--BarTrend-->", "--- ---"},
    {"TheTrendOfABasalt",
     [](Scene& s) {
       s.model(station::StationModel::kBasaltII);
       s.image.barometerTrend = 20;
     },
     "<!--BarTrend-->", "Subiendo"},
    {"TheTrendOfACirrant", [](Scene& s) { s.image.barometerTrend = -60; }, "<!--BarTrend-->",
     "Bajando rápida."},
    {"NoWindHistoryNoAverage", nothing, "<!--windAvg1-->|<!--windHigh10-->", "---|---"},
    {"WindSpansOfTheHistory",
     [](Scene& s) {
       s.wind.emplace();
       platform::Instant t{};
       for (std::uint8_t mph = 1; mph <= 11; ++mph, t += std::chrono::minutes(1)) {
         SensorImage image = stationlink::resetSensorImage();
         image.windSpeed = mph;
         s.wind->offer(image, t);
       }
     },
     "<!--windAvg1--> <!--windAvg10--> <!--windHigh2--> <!--windHigh10-->", "10.5 6.0 11.0 11.0"},
    {"WindSpansNeedAllTheirSamples",
     [](Scene& s) {
       s.wind.emplace();
       s.wind->offer(stationlink::resetSensorImage(), platform::Instant{});
     },
     "<!--windAvg1-->", "---"},
    // The moon was full at 23:35 UT on 14 March 2006.
    {"TheMoonADayAfterFull", nothing, "<!--MoonPhaseStr-->", "Luna Llena "},
    {"NoSunriseWithoutALocation", nothing, "<!--sunriseTime-->", "---"},
    {"TheForecastTextsAreTheConsolesOwn", nothing, "<!--ForecastStr-->", "---"},
    {"TheTodaysHighOfTheReading", nothing, "<!--hiOutsideTemp--> <!--hiOutsideTempTime-->",
     "72.5 15:00"},
};

class FillTemplateText : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillTemplateText, GivesTheExpectedText) {
  Scene scene;
  GetParam().arrange(scene);
  EXPECT_EQ(fillTemplateText(scene.context(), GetParam().text), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Cases, FillTemplateText, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FillTemplateTextLines, ATagAtColumn300OfA400CharacterLineIsReplaced) {
  const std::string before(300, 'a');
  const std::string tag = "<!--outsideHumidity-->";
  const std::string after(400 - 300 - tag.size(), 'b');
  Scene scene;
  EXPECT_EQ(fillTemplateText(scene.context(), before + tag + after + "\r\n"),
            before + "50" + after + "\r\n");
}

TEST(FillTemplateTextLines, ALineOverOneMebibyteIsCopiedWithoutLookingForTags) {
  const std::string tag = "<!--outsideHumidity-->";
  const std::string longLine = tag + std::string(kLongestTemplateLine, 'a') + "\n";
  Scene scene;
  EXPECT_EQ(fillTemplateText(scene.context(), longLine + tag), longLine + "50");
}

}  // namespace
}  // namespace publish
