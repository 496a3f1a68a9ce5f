// The station's clock: saving Sundays, conversions between universal and local time, the
// zone list, and the moon.
#include <gtest/gtest.h>

#include <cmath>

#include "reports/daylight_saving.h"
#include "reports/local_time.h"
#include "reports/moon_phase.h"
#include "reports/sunrise_report.h"
#include "reports/time_zones.h"

namespace reports {
namespace {

using quantities::Date;

TEST(SavingSundays, MatchTheYearTypeTableThenFollowTheCalendar) {
  const int kApril[7] = {2, 1, 7, 6, 5, 4, 3};
  const int kMarch[7] = {26, 25, 31, 30, 29, 28, 27};
  const int kOctober[7] = {29, 28, 27, 26, 25, 31, 30};
  for (int year = 2000; year <= 2099; ++year) {
    const int type = ((year - 2000) / 4 + (year - 2000)) % 7;
    const SavingDates west = savingDates(year, -8);
    const SavingDates east = savingDates(year, 0);
    EXPECT_EQ(west.startMonth, 4);
    EXPECT_EQ(west.startDay, kApril[type]) << year;
    EXPECT_EQ(east.startMonth, 3);
    EXPECT_EQ(east.startDay, kMarch[type]) << year;
    EXPECT_EQ(west.endDay, kOctober[type]) << year;
  }
  // 2100 is no leap year: the Sundays are the calendar's, not the table's.
  EXPECT_EQ(savingDates(2100, -5).startDay, 4);
  EXPECT_EQ(savingDates(2100, 1).startDay, 28);
  EXPECT_EQ(savingDates(2100, 1).endDay, 31);
  EXPECT_FALSE(automaticSavingInForce(1999, 7, 1, 600, -8, false));
  EXPECT_TRUE(automaticSavingInForce(2100, 4, 4, 120, -8, false));
  EXPECT_FALSE(automaticSavingInForce(2100, 4, 3, 600, -8, false));
}

TEST(LocalClock, UniversalToLocalInWholeMinutes) {
  struct Case {
    const char* name;
    Date date;
    double hours;
    LocalClock clock;
    DateMinutes want;
  };
  const Case kCases[] = {
      {"just short of the hour rounds up, never :60",
       {2006, 1, 10},
       5 + 59.6 / 60,
       {0, Saving::kOff},
       {{2006, 1, 10}, 360}},
      {"west offset moves to the day before",
       {2006, 1, 10},
       2.5,
       {-8, Saving::kAutomatic},
       {{2006, 1, 9}, 18 * 60 + 30}},
      {"July adds the saving hour",
       {2006, 7, 10},
       2.5,
       {-8, Saving::kAutomatic},
       {{2006, 7, 9}, 19 * 60 + 30}},
      {"the southern season is turned round",
       {2006, 7, 10},
       2.5,
       {-8, Saving::kAutomatic, true},
       {{2006, 7, 9}, 18 * 60 + 30}},
      {"a half-hour zone truncates to minutes",
       {2006, 12, 31},
       20.75,
       {5.5, Saving::kOff},
       {{2007, 1, 1}, 2 * 60 + 15}},
      {"saving by hand", {2006, 1, 10}, 23.5, {1, Saving::kOn}, {{2006, 1, 11}, 90}},
      {"a negative event time", {2006, 3, 1}, -0.25, {0, Saving::kOff}, {{2006, 2, 28}, 1425}},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(localFromUniversal(c.date, c.hours, c.clock), c.want) << c.name;
  }
}

TEST(LocalClock, StationClockToUniversal) {
  const LocalClock pacific{-8, Saving::kAutomatic};
  const LocalClock central{1, Saving::kAutomatic};
  EXPECT_EQ(universalFromLocal({2006, 7, 15}, 14 * 60 + 30, pacific),
            (DateMinutes{{2006, 7, 15}, 21 * 60 + 30}));
  EXPECT_EQ(universalFromLocal({2006, 7, 15}, 1440, pacific), (DateMinutes{{2006, 7, 16}, 7 * 60}));
  EXPECT_EQ(universalFromLocal({2006, 1, 15}, 23 * 60 + 30, pacific),
            (DateMinutes{{2006, 1, 16}, 7 * 60 + 30}));
  EXPECT_EQ(universalFromLocal({2006, 3, 26}, 90, central), (DateMinutes{{2006, 3, 26}, 30}));
  EXPECT_EQ(universalFromLocal({2006, 3, 26}, 210, central), (DateMinutes{{2006, 3, 26}, 90}));
}

TEST(TimeZones, TextsOffsetsAndLabels) {
  const double kOffsets[kZoneCount] = {-12, -11,  -10, -9, -8,  -7,  -6,  -6, -6,  -5, -5,  -4,
                                       -4,  -3.5, -3,  -3, -2,  -1,  0,   0,  1,   1,  1,   2,
                                       2,   2,    2,   2,  3,   3,   3.5, 4,  4.5, 5,  5.5, 6,
                                       7,   8,    8,   9,  9.5, 9.5, 10,  10, 11,  12, 12};
  for (int i = 0; i < kZoneCount; ++i) {
    const auto offset = zoneTextOffset(zoneText(i));
    ASSERT_TRUE(offset) << i;
    EXPECT_DOUBLE_EQ(*offset, kOffsets[i]) << zoneText(i);
  }
  EXPECT_EQ(zoneText(10), "(GMT-05:00) Eastern Time ");
  EXPECT_EQ(zoneText(kDefaultZone), "(GMT-08:00) Pacific Time, Tijuana");
  EXPECT_EQ(zoneLabel(13, -3.5), "(GMT-03.30) Newfoundland");
  EXPECT_EQ(zoneLabel(-1, 5.5), "(GMT+05:30)");
  EXPECT_EQ(zoneLabel(47, -3.5), "(GMT-03:30)");
  EXPECT_EQ(zoneLabel(-1, 0), "(GMT)");
  EXPECT_EQ(zoneLabel(-1, std::nan("")), "(GMT)");
}

TEST(TimeZones, TypedOffsetsAndChoices) {
  EXPECT_DOUBLE_EQ(*parseTypedOffset("5.5"), 5.5);
  EXPECT_DOUBLE_EQ(*parseTypedOffset("-12"), -12);
  EXPECT_EQ(parseTypedOffset("13").status().message(),
            "Valor de zona horaria '13' fuera del rango. (-12...12)");
  EXPECT_EQ(parseTypedOffset("5,5").status().message(), "Valor de zona horaria '5,5' no válido.");
  EXPECT_EQ(parseTypedOffset("nan").status().message(), "Valor de zona horaria 'nan' no válido.");
  EXPECT_EQ(parseTypedOffset("").status().message(), "Seleccione una zona horaria.");

  station::StationConfig config;
  ASSERT_TRUE(applySunriseChoices(config, {std::nullopt, "5.5", Saving::kOn}).isOk());
  EXPECT_EQ(config.timeZoneIndex(), -1);
  EXPECT_FLOAT_EQ(config.gmtOffset(), 5.5F);
  EXPECT_TRUE(config.dstManual());
  EXPECT_TRUE(config.dstManualOn());
  ASSERT_TRUE(applySunriseChoices(config, {13, std::nullopt, Saving::kAutomatic}).isOk());
  EXPECT_EQ(config.timeZoneIndex(), 13);
  EXPECT_FLOAT_EQ(config.gmtOffset(), -3.5F);
  EXPECT_FALSE(config.dstManual());
  for (const SunriseChoices& bad : {SunriseChoices{47, std::nullopt, Saving::kOff},
                                    SunriseChoices{std::nullopt, "13", Saving::kOff}}) {
    EXPECT_FALSE(applySunriseChoices(config, bad).isOk());
    EXPECT_EQ(config.timeZoneIndex(), 13);
    EXPECT_FALSE(config.dstManual());
  }
}

TEST(MoonPhase, KnownPhasesOf2006) {
  // Full moon 14 March 23:35 UT, new moon 29 March 10:15 UT, first quarter 6 March 20:16 UT.
  const MoonPhase full = moonPhase(2006, 3, 14, 23 + 35 / 60.0);
  EXPECT_GT(full.illuminated, 0.99);
  EXPECT_NEAR(full.phase, 0.5, 0.01);
  const MoonPhase fresh = moonPhase(2006, 3, 29, 10.25);
  EXPECT_LT(fresh.illuminated, 0.01);
  EXPECT_NEAR(moonPhase(2006, 3, 6, 20 + 16 / 60.0).illuminated, 0.5, 0.01);
  const MoonPhase last = moonPhase(2006, 3, 22, 19 + 10 / 60.0);  // last quarter
  EXPECT_NEAR(last.illuminated, 0.5, 0.01);
  EXPECT_NEAR(last.phase, 0.75, 0.01);
}

}  // namespace
}  // namespace reports
