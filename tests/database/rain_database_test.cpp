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

TEST_F(RainDb, BadLinesAreDroppedWholeAndNamed) {
  const std::string longLine =
      "2007" + std::string(300, ' ') + "1 2 3 4 5 6 7 8 9 10 11 12";  // longer than any buffer
  const std::string text =
      "2001 1 2 3\n"                         // too few months
      "abcd 1 2 3 4 5 6 7 8 9 10 11 12\n"    // no year
      "2002 1 2 3 4 5 6 x 8 9 10 11 12\n"    // a month that is no number
      "2003 1 2 3 4 5 6 nan 8 9 10 11 12\n"  // not finite
      "\n   \n" +
      longLine + "\n";
  fs_.setContents(kRainFile, text);
  ASSERT_EQ(rain_.load(kStation), 0);
  ASSERT_EQ(rain_.yearCount(), 1);
  EXPECT_EQ(rain_.getYear(0), 2007);
  EXPECT_DOUBLE_EQ(rain_.years()[0].total, 78.0);
  ASSERT_EQ(rain_.problems().size(), 4u);
  EXPECT_NE(rain_.problems()[0].find("line 1"), std::string::npos);
  EXPECT_NE(rain_.problems()[3].find("line 4"), std::string::npos);
}

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

}  // namespace
