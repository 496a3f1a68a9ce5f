// Reading a stored summary by sensor code: values, texts and the times of highs and lows.

#include "database/summary_values.h"

#include <gtest/gtest.h>

#include <cmath>

#include "database/daily_summary.h"
#include "summary_hand_day.h"

namespace {

using namespace summary_test;
using database::DailySummaryObject;

// The hand-worked day of summary_hand_day.h, as GetDailySummary would load it.
DailySummaryObject storedDay() {
  DailySummaryObject s;
  s.a.record = records::Record88(expectedA());
  s.b.record = records::Record88(expectedB());
  s.a.date = records::DateTime::fromDate(2006, 7, 14, 0xFFFF);
  s.b.date = s.a.date;
  s.state = 0;
  return s;
}

struct ValueCase {
  const char* name;
  std::uint32_t code;
  double want;  // internal units; -32768 for no data
};

const ValueCase kValues[] = {
    {"high outside temperature", 0x1000, 80.5},
    {"low outside temperature", 0x1800, -61.0},
    {"average outside temperature", 0x2000, 23.3},
    {"statistic 5 is a high too", 0x1400, 80.5},
    {"high inside temperature", 0x1001000, 72.0},
    {"average dew point", 0x2001, -60.0},
    {"low wind chill", 0x1802, -60.0},
    {"average heat index", 0x2003, 7.8},
    {"THW has no average", 0x2004, -32768},
    {"high THSW", 0x1005, 85.7},
    {"interval statistic 2 gives no data", 0x800, -32768},
    {"interval value gives no data", 0x0, -32768},
    {"heating degree-days, base 65", 0x412428, 5.8},
    {"cooling degree-days", 0xBF2428, 0.6},
    {"daily rain", 0x52440, 0.074},
    {"daily rain needs statistic 9", 0x52040, -32768},
    {"evapotranspiration", 0x244D, 0.012},
    {"high rain rate", 0x61060, 1.0},
    {"high wind speed", 0x21080, 5.0},
    {"average wind speed", 0x22080, 0.0},
    {"second wind speed never filled", 0x1021080, -32768},
    {"dominant direction", 0x320C0, 0},
    {"direction of the high wind", 0x310C0, 2},
    {"high barometer", 0x410E0, 30.1},
    {"average barometer", 0x420E0, 29.967},
    {"minutes of data", 0xB2520, 240},
    {"second minutes value", 0x10B2520, -32768},
    {"high solar radiation", 0x71140, 300},
    {"solar energy", 0x72569, 43.0},
    {"high UV index", 0x81180, 2.0},
    {"UV dose", 0x825AA, 1.3},
    {"high outside humidity", 0x111C0, 100.0},
    {"average outside humidity", 0x121C0, 50.0},
    {"inside humidity has no average", 0x10121C0, -32768},
    {"wind run", 0x22647, 0.0},
};

TEST(SummaryValues, ReadsEachFieldByCode) {
  Context c;
  const DailySummaryObject s = storedDay();
  for (const ValueCase& v : kValues) {
    float got = 0;
    ASSERT_EQ(database::GetSummaryData(s, v.code, 1, &got, c.units), 0) << v.name;
    EXPECT_NEAR(got, v.want, 1e-3) << v.name;
  }
  EXPECT_EQ(database::GetSummaryData(s, 0x1000, 1, nullptr, c.units), -1601);
}

TEST(SummaryValues, UserUnitsAndTexts) {
  Context c;
  const DailySummaryObject s = storedDay();
  c.units.SetTempUnit(quantities::kCelsius);
  c.units.SetRainUnit(quantities::kMillimetres);
  float v = 0;
  ASSERT_EQ(database::GetSummaryData(s, 0x1000, 0, &v, c.units), 0);
  EXPECT_NEAR(v, (80.5 - 32) * 5 / 9, 1e-3);
  ASSERT_EQ(database::GetSummaryData(s, 0x412428, 0, &v, c.units), 0);
  EXPECT_NEAR(v, 5.8, 1e-4);  // degree-days stay in °F·days
  EXPECT_EQ(database::GetSummaryDataStr(s, 0x52440, c.units), "1.88");  // 0.074 in
  EXPECT_EQ(database::GetSummaryDataStr(s, 0x320C0, c.units), "N");
  EXPECT_EQ(database::GetSummaryDataStr(s, 0xB2520, c.units), " 4:00");
  EXPECT_EQ(database::GetSummaryDataStr(s, 0x420E0, c.units), "29.967");
  EXPECT_EQ(database::GetSummaryDataStr(s, 0x2004, c.units), "---");
}

TEST(SummaryValues, DominantDirectionTieGoesToTheLowestIndex) {
  DailySummaryObject s = storedDay();
  s.b.record.setPacked12(36, 0, 60);  // north 60 minutes
  s.b.record.setPacked12(36, 4, 60);  // east 60 minutes
  EXPECT_EQ(database::dominantDirection(s), 0);
  for (int d = 0; d < 16; ++d) s.b.record.setPacked12(36, d, 0);
  float v = 0;
  ASSERT_EQ(database::GetSummaryData(s, 0x320C0, 1, &v, quantities::Units{}), 0);
  EXPECT_EQ(v, -32768.0f);
}

struct TimeCase {
  const char* name;
  std::uint32_t code;
  int want;
};

const TimeCase kTimes[] = {
    {"high outside temperature", 0x1000, 120},
    {"low outside temperature", 0x1800, 240},
    {"low inside temperature", 0x1001800, 240},
    {"low outside humidity", 0x119C0, 120},
    {"high wind speed", 0x21080, 60},
    {"second wind speed: slot holds no time", 0x1021080, -32768},
    {"low barometer: earliest of equal lows", 0x418E0, 60},
    {"high rain rate", 0x61060, 60},
    {"high solar radiation", 0x71140, 120},
    {"high UV", 0x81180, 240},
    {"high dew point", 0x1001, 240},
    {"high wind chill", 0x1002, 120},
    {"wind chill of index 1 has no time", 0x1001002, -32768},
    {"low heat index", 0x1803, 240},
    {"low THW", 0x1804, 240},
    {"high THSW", 0x1005, 120},
    {"high sixth derived temperature", 0x1006, 120},
    {"dew point beyond 0x10000 has no time", 0x1011001, -32768},
    {"averages have no time", 0x2000, -32768},
    {"rain has no time", 0x52440, -32768},
};

TEST(SummaryValues, TimesByCode) {
  const DailySummaryObject s = storedDay();
  for (const TimeCase& t : kTimes) {
    EXPECT_EQ(database::GetSummaryTimeValue(s, t.code), t.want) << t.name;
  }
}

TEST(SummaryValues, ExportTimeTexts) {
  DailySummaryObject s = storedDay();
  platform::IntlSettings h24;
  platform::IntlSettings h12;
  h12.clock24 = false;
  struct Case {
    int minutes;
    const char* want24;
    const char* want12;
  };
  const Case cases[] = {
      {0, "0:00", "12:00 a"},   {61, "1:01", "1:01 a"},     {720, "12:00", "12:00 p"},
      {785, "13:05", "1:05 p"}, {1440, "24:00", "12:00 a"}, {0x7FF, "---", "---"},
  };
  for (const Case& c : cases) {
    s.a.record.setPacked12(61, 0, static_cast<std::uint16_t>(c.minutes));
    EXPECT_EQ(database::GetExportSummaryTimeStr(s, 0x1000, h24), c.want24) << c.minutes;
    EXPECT_EQ(database::GetExportSummaryTimeStr(s, 0x1000, h12), c.want12) << c.minutes;
  }
  EXPECT_EQ(database::GetSummaryTimeStr(s, 0x2000, h24), "---");
}

}  // namespace
