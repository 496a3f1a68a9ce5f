// The rain database: its file, its table, its updates and its statistics.

#include "database/rain_database.h"

#include <gtest/gtest.h>

#include <string>

#include "database/daily_summary.h"
#include "platform/testing/mem_file_system.h"
#include "summary_test_support.h"

namespace {

using namespace summary_test;
using database::RainDatabase;

constexpr const char* kStation = "/station";
constexpr const char* kRainFile = "/station/rain.db";

// 2005 with every month; 2006 with March missing. Written out of order, with CRLF.
const std::string kTwoYears =
    "2006\t1.000\t2.000\t-1.000\t0.000\t0.500\t0.500\t0.500\t0.500\t0.500\t0.500\t0.500\t0.500\r\n"
    "2005 3.000 1.000 1.000 1.000 1.000 1.000 1.000 1.000 1.000 1.000 1.000 1.250\r\n";

class RainDb : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fs_.createDirectories(kStation)); }
  platform::MemFileSystem fs_;
  RainDatabase rain_{fs_};
  Context c_;
};

TEST_F(RainDb, LoadsSortsAndSavesTheExactFileText) {
  fs_.setContents(kRainFile, kTwoYears);
  ASSERT_EQ(rain_.load(kStation), 0);
  ASSERT_EQ(rain_.yearCount(), 2);
  EXPECT_EQ(rain_.getYear(0), 2005);
  EXPECT_DOUBLE_EQ(rain_.years()[0].total, 14.25);
  EXPECT_DOUBLE_EQ(rain_.years()[1].total, 7.0);  // the missing March is skipped
  EXPECT_EQ(rain_.getMonthValue(1, 2, c_.units), -1.0);
  EXPECT_EQ(rain_.getMonthValue(1, 3, c_.units), 0.0);  // a real zero

  ASSERT_EQ(rain_.save(), 0);
  EXPECT_EQ(fs_.contents(kRainFile),
            "2005\t3.000\t1.000\t1.000\t1.000\t1.000\t1.000\t1.000\t1.000\t1.000\t1.000\t1.000"
            "\t1.250\n"
            "2006\t1.000\t2.000\t-1.000\t0.000\t0.500\t0.500\t0.500\t0.500\t0.500\t0.500\t0.500"
            "\t0.500\n");
}

TEST_F(RainDb, LinesNotReadWholeKeepWhatTheyGaveAndAreListed) {
  const std::string longLine =
      "2007" + std::string(300, ' ') + "1 2 3 4 5 6 7 8 9 10 11 12";  // longer than any buffer
  const std::string text =
      "2001 1 2 3 4 5 6 7 8 9 10 11\n"         // eleven months
      "2002 1,5 2 3 4 5 6 7 8 9 10 11 12\n"    // a decimal comma
      "2003 1 2 3 4 5 6 1e400 8 9 10 11 12\n"  // beyond any double
      "2004 1 2 3 4 5 6 nan 8 9 10 11 12\r\n"  // not finite
      "12000 1 2 3 4 5 6 7 8 9 10 11 12\n"     // no year of the calendar
      "abcd 1 2\r\n"                           // no year at all
      "\n   \n" +
      longLine + "\n";
  fs_.setContents(kRainFile, text);
  ASSERT_EQ(rain_.load(kStation), 0);
  ASSERT_EQ(rain_.yearCount(), 5);
  EXPECT_EQ(rain_.getMonthValue(0, 10, c_.units), 11.0);
  EXPECT_EQ(rain_.getMonthValue(0, 11, c_.units), -1.0);
  EXPECT_DOUBLE_EQ(rain_.years()[1].total, 77.0);  // 2002 without January

  const std::vector<int> wantLines = {1, 2, 3, 4, 5, 6};
  std::vector<int> lines;
  for (const database::RainLine& l : rain_.unreadLines()) lines.push_back(l.number);
  EXPECT_EQ(lines, wantLines);
  EXPECT_EQ(rain_.unreadLines()[3].text, "2004 1 2 3 4 5 6 nan 8 9 10 11 12");
  EXPECT_EQ(rain_.unreadLines()[5].text, "abcd 1 2");
  EXPECT_EQ(database::rainLineMessage(rain_.unreadLines()[5], "Finca"),
            "Línea 6 de rain.db no leída entera (Finca): abcd 1 2");

  const std::string want =
      "2001\t1.000\t2.000\t3.000\t4.000\t5.000\t6.000\t7.000\t8.000\t9.000\t10.000\t11.000"
      "\t-1.000\n"
      "2002\t-1.000\t2.000\t3.000\t4.000\t5.000\t6.000\t7.000\t8.000\t9.000\t10.000\t11.000"
      "\t12.000\n"
      "2003\t1.000\t2.000\t3.000\t4.000\t5.000\t6.000\t-1.000\t8.000\t9.000\t10.000\t11.000"
      "\t12.000\n"
      "2004\t1.000\t2.000\t3.000\t4.000\t5.000\t6.000\t-1.000\t8.000\t9.000\t10.000\t11.000"
      "\t12.000\n"
      "2007\t1.000\t2.000\t3.000\t4.000\t5.000\t6.000\t7.000\t8.000\t9.000\t10.000\t11.000"
      "\t12.000\n"
      "12000 1 2 3 4 5 6 7 8 9 10 11 12\n"
      "abcd 1 2\n";
  ASSERT_EQ(rain_.save(), 0);
  EXPECT_EQ(fs_.contents(kRainFile), want);
  // The kept lines survive every later load and save.
  ASSERT_EQ(rain_.load(kStation), 0);
  ASSERT_EQ(rain_.save(), 0);
  EXPECT_EQ(fs_.contents(kRainFile), want);
}

struct BigMonth {
  const char* name;
  double inches;
  const char* field;  // the text "%.3f" gives, or null to check only the round trip
};

class RainBigMonth : public RainDb, public ::testing::WithParamInterface<BigMonth> {};

TEST_P(RainBigMonth, IsWrittenInFullAndReadBack) {
  fs_.setContents(kRainFile, kTwoYears);
  ASSERT_EQ(rain_.load(kStation), 0);
  ASSERT_EQ(rain_.setMonthValue(0, 5, GetParam().inches, c_.units), 0);
  ASSERT_EQ(rain_.save(), 0);
  const std::string saved = fs_.contents(kRainFile);
  const std::string firstLine = saved.substr(0, saved.find('\n'));
  if (GetParam().field != nullptr) {
    EXPECT_EQ(firstLine, std::string("2005\t3.000\t1.000\t1.000\t1.000\t1.000\t") +
                             GetParam().field + "\t1.000\t1.000\t1.000\t1.000\t1.000\t1.250");
  }
  RainDatabase again(fs_);
  ASSERT_EQ(again.load(kStation), 0);
  EXPECT_TRUE(again.unreadLines().empty());
  ASSERT_EQ(again.yearCount(), 2);
  EXPECT_EQ(again.years()[0].months[5], GetParam().inches);
  EXPECT_EQ(again.years()[0].months[11], 1.25);
}

INSTANTIATE_TEST_SUITE_P(Values, RainBigMonth,
                         ::testing::Values(BigMonth{"ten_million", 12345678.5, "12345678.500"},
                                           BigMonth{"power_of_two_70", 1180591620717411303424.0,
                                                    "1180591620717411303424.000"},
                                           BigMonth{"e60", 1e60, nullptr},
                                           BigMonth{"largest_double", 1.7976931348623157e308,
                                                    nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RainDb, AMissingFileIsAnEmptyTableNotLoaded) {
  EXPECT_EQ(rain_.load(kStation), -1);
  EXPECT_FALSE(rain_.loaded());
  EXPECT_EQ(rain_.close(), -1);
  EXPECT_EQ(rain_.save(), 0);  // a later save creates the file
  EXPECT_TRUE(rain_.loaded());
  EXPECT_TRUE(fs_.exists(kRainFile));
}

TEST_F(RainDb, AFailedSaveLeavesTheOldFile) {
  fs_.setContents(kRainFile, kTwoYears);
  ASSERT_EQ(rain_.load(kStation), 0);
  ASSERT_EQ(rain_.deleteYear(0), 0);
  fs_.failWrites(true);
  EXPECT_EQ(rain_.save(), -1);
  fs_.failWrites(false);
  EXPECT_EQ(fs_.contents(kRainFile), kTwoYears);
}

TEST_F(RainDb, ArchiveRainGoesToItsMonth) {
  (void)rain_.load(kStation);
  Bytes b = freshArchive();
  b[1] = 5;
  put16(b, 4, 600);
  put16(b, 20, 0x1000 | 12);  // 12 tips of 0.01 in
  ASSERT_EQ(rain_.AddArchiveRain(record(b, 2008, 5, 10), c_.ctx), 0);
  ASSERT_EQ(rain_.AddArchiveRain(record(b, 2008, 5, 11), c_.ctx), 0);
  // A record at 0:00 of 1 June closes 31 May.
  put16(b, 4, 0);
  ASSERT_EQ(rain_.AddArchiveRain(record(b, 2008, 6, 1), c_.ctx), 0);
  // No data adds nothing; a year not yet in the table is created in order.
  put16(b, 20, 0x8000);
  ASSERT_EQ(rain_.AddArchiveRain(record(b, 2008, 7, 1), c_.ctx), 0);
  put16(b, 20, 0x1000 | 3);
  put16(b, 4, 600);
  ASSERT_EQ(rain_.AddArchiveRain(record(b, 2003, 1, 1), c_.ctx), 0);

  ASSERT_EQ(rain_.yearCount(), 2);
  EXPECT_EQ(rain_.getYear(0), 2003);
  EXPECT_NEAR(rain_.getMonthValue(1, 4, c_.units), 0.36, 1e-9);  // started at the rain, not -1
  EXPECT_EQ(rain_.getMonthValue(1, 5, c_.units), -1.0);
  EXPECT_EQ(rain_.getMonthValue(1, 6, c_.units), -1.0);
  EXPECT_NEAR(rain_.years()[1].total, 0.36, 1e-9);
  EXPECT_NEAR(rain_.years()[0].total, 0.03, 1e-9);
}

TEST_F(RainDb, SummaryRainGoesToItsMonth) {
  database::DailySummaryObject s;
  ASSERT_EQ(database::ResetSummary(s, 2, 28, 2009), 0);
  s.a.record.setI16(54, 1234);  // thousandths of an inch
  ASSERT_EQ(rain_.AddSummaryRain(s), 0);
  ASSERT_EQ(rain_.AddSummaryRain(s), 0);
  EXPECT_NEAR(rain_.getMonthValue(0, 1, c_.units), 2.468, 1e-9);
}

TEST_F(RainDb, StatisticsSkipMissingMonthsAndIncompleteYears) {
  fs_.setContents(kRainFile, kTwoYears);
  ASSERT_EQ(rain_.load(kStation), 0);
  const database::RainStatistics jan = rain_.statistics(0, c_.units);
  EXPECT_DOUBLE_EQ(jan.minimum, 1.0);
  EXPECT_DOUBLE_EQ(jan.maximum, 3.0);
  EXPECT_DOUBLE_EQ(jan.average, 2.0);
  const database::RainStatistics mar = rain_.statistics(2, c_.units);
  EXPECT_DOUBLE_EQ(mar.minimum, 1.0);  // 2006 has no March
  EXPECT_DOUBLE_EQ(mar.average, 1.0);
  const database::RainStatistics year = rain_.statistics(12, c_.units);
  EXPECT_DOUBLE_EQ(year.minimum, 14.25);  // 2006's total is shown but not counted
  EXPECT_DOUBLE_EQ(year.maximum, 14.25);

  c_.units.SetRainUnit(quantities::kMillimetres);
  EXPECT_DOUBLE_EQ(rain_.statistics(0, c_.units).maximum, 76.2);

  RainDatabase empty(fs_);
  const database::RainStatistics none = empty.statistics(0, c_.units);
  EXPECT_EQ(none.minimum, 0.0);
  EXPECT_EQ(none.maximum, 0.0);
  EXPECT_EQ(none.average, 0.0);
}

// 2001 every month 1..12 (78); 2002 every month 0.5 (6); 2003 only January 3.92.
TEST_F(RainDb, StatisticsOfAHandMadeTable) {
  fs_.setContents(kRainFile,
                  "2003 3.92 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1\n"
                  "2001 1 2 3 4 5 6 7 8 9 10 11 12\n"
                  "2002 .5 .5 .5 .5 .5 .5 .5 .5 .5 .5 .5 .5\n");
  ASSERT_EQ(rain_.load(kStation), 0);
  struct Want {
    int column;
    double minimum, maximum, average;
  };
  const Want wants[] = {
      {0, 0.5, 3.92, (1 + 0.5 + 3.92) / 3},
      {1, 0.5, 2.0, 1.25},  // 2003 has no February
      {11, 0.5, 12.0, 6.25},
      {12, 6.0, 78.0, 42.0},  // 2003's 3.92 is shown but not counted
  };
  for (const Want& w : wants) {
    const database::RainStatistics st = rain_.statistics(w.column, c_.units);
    EXPECT_DOUBLE_EQ(st.minimum, w.minimum) << "column " << w.column;
    EXPECT_DOUBLE_EQ(st.maximum, w.maximum) << "column " << w.column;
    EXPECT_DOUBLE_EQ(st.average, w.average) << "column " << w.column;
  }
}

TEST_F(RainDb, StatisticsOfASingleYearAndOfValuesBeyondTheStartingBounds) {
  // One complete year totalling 3.92: its total is the minimum, maximum and mean.
  fs_.setContents(kRainFile, "2010 .3 .3 .3 .3 .3 .3 .3 .3 .3 .3 .3 .62\n");
  ASSERT_EQ(rain_.load(kStation), 0);
  const database::RainStatistics year = rain_.statistics(12, c_.units);
  EXPECT_NEAR(year.minimum, 3.92, 1e-12);
  EXPECT_NEAR(year.maximum, 3.92, 1e-12);
  EXPECT_NEAR(year.average, 3.92, 1e-12);

  fs_.setContents(kRainFile, "2010 40000 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1\n");
  ASSERT_EQ(rain_.load(kStation), 0);
  EXPECT_EQ(rain_.statistics(0, c_.units).minimum, 40000.0);
  EXPECT_EQ(rain_.statistics(0, c_.units).maximum, 40000.0);
}

TEST_F(RainDb, EditingInUserUnits) {
  fs_.setContents(kRainFile, kTwoYears);
  ASSERT_EQ(rain_.load(kStation), 0);
  c_.units.SetRainUnit(quantities::kMillimetres);
  ASSERT_EQ(rain_.setMonthValue(1, 2, 50.8, c_.units), 0);  // the missing March, in mm
  EXPECT_NEAR(rain_.years()[1].months[2], 2.0, 1e-12);
  EXPECT_NEAR(rain_.years()[1].total, 9.0, 1e-12);
  ASSERT_EQ(rain_.setMonthValue(1, 2, -1.0, c_.units), 0);  // and back to no data
  EXPECT_EQ(rain_.years()[1].months[2], -1.0);

  // Adding by date: a result below zero becomes zero; a month without data refuses.
  const records::DateTime april = records::DateTime::fromDate(2006, 4, 3);
  EXPECT_EQ(rain_.addToMonth(april, -25.4, c_.units), 0);
  EXPECT_EQ(rain_.years()[1].months[3], 0.0);
  EXPECT_EQ(rain_.addToMonth(records::DateTime::fromDate(2006, 3, 3), 1.0, c_.units), -1);
  EXPECT_EQ(rain_.addToMonth(records::DateTime::fromDate(1999, 3, 3), 1.0, c_.units), -1);

  database::RainYear y;
  y.year = 2004;
  y.months[0] = 25.4;
  ASSERT_EQ(rain_.addYear(y, c_.units), 0);
  EXPECT_EQ(rain_.getYear(0), 2004);
  EXPECT_NEAR(rain_.years()[0].total, 1.0, 1e-12);
  EXPECT_EQ(rain_.addYear(y, c_.units), -1);  // a second 2004 would shadow the first
  EXPECT_EQ(rain_.deleteYear(7), -1);
  EXPECT_EQ(rain_.getYear(-1), -1);
}

// The newest record counted lives beside rain.db, so the year lines stay as they were.
TEST_F(RainDb, KeepsTheNewestCountedRecordInTheMarkBesideTheFile) {
  fs_.setContents(kRainFile, kTwoYears);
  ASSERT_EQ(rain_.load(kStation), 0);
  EXPECT_FALSE(rain_.countedThrough().has_value());
  Bytes b = freshArchive();
  put16(b, 20, 0x1000 | 3);
  auto rec = record(b, 2006, 3, 15);
  rec.date.setMinutes(570);
  ASSERT_EQ(rain_.AddArchiveRain(rec, c_.ctx), 0);
  ASSERT_EQ(rain_.save(), 0);
  EXPECT_EQ(fs_.contents("/station/rain.db.mark"), "2006-03-15 0570\n");
  EXPECT_EQ(fs_.contents(kRainFile).find("mark"), std::string::npos);

  RainDatabase again(fs_);
  ASSERT_EQ(again.load(kStation), 0);
  ASSERT_TRUE(again.countedThrough().has_value());
  EXPECT_EQ(again.countedThrough()->packed(), (2006 << 16) | (3 << 8) | 15);
  EXPECT_EQ(again.countedThrough()->minutes, 570);

  for (const char* bad : {"2006-13-15 0570\n", "2006-03-15 1441\n", "garbage", ""}) {
    SCOPED_TRACE(bad);
    fs_.setContents("/station/rain.db.mark", bad);
    ASSERT_EQ(again.load(kStation), 0);
    EXPECT_FALSE(again.countedThrough().has_value());
  }
}

}  // namespace
