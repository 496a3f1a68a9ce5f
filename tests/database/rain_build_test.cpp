// Building rain.db from the daily summaries of a station.

#include "database/rain_build.h"

#include <gtest/gtest.h>

#include "database/summary_keeper.h"
#include "platform/testing/mem_file_system.h"
#include "summary_test_support.h"

namespace {

using namespace summary_test;

constexpr const char* kStation = "/station";
constexpr const char* kRainFile = "/station/rain.db";

class RainBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs_.createDirectories(kStation));
    (void)db_.open(kStation);
    // Three days: 30 and 31 January, 1 February 2010, with 3, 0 and 250 tips of 0.01 in.
    // The last record of 31 January is stamped 24:00 and stays in January.
    database::DaySummaryKeeper keeper(db_, c_.ctx);
    struct Day {
      int month, day, tips;
    };
    for (const Day& d : {Day{1, 30, 3}, Day{1, 31, 0}, Day{2, 1, 250}}) {
      for (int t : {720, 1440}) {
        Bytes b = freshArchive();
        b[1] = 60;
        put16(b, 4, t);
        put16(b, 20, 0x1000 | (t == 1440 ? d.tips : 0));
        const auto r = record(b, 2010, d.month, d.day);
        ASSERT_TRUE(keeper.beginRecord(r));
        ASSERT_TRUE(db_.AppendArchiveRecord(r));
        keeper.addRecord(r);
      }
    }
    ASSERT_TRUE(keeper.finish());
    ASSERT_TRUE(db_.flush());
  }

  platform::MemFileSystem fs_;
  database::WeatherDatabase db_{fs_};
  Context c_;
};

TEST_F(RainBuild, MonthTotalsFromTheDailySummaries) {
  // Typed-in history that the build replaces.
  fs_.setContents(kRainFile, "1990 1 1 1 1 1 1 1 1 1 1 1 1\n");
  database::RainDatabase rain(fs_);
  ASSERT_EQ(rain.load(kStation), 0);
  int calls = 0;
  ASSERT_TRUE(database::buildRainDatabase(rain, db_, [&](int, int) { ++calls; }));
  EXPECT_GE(calls, 1);
  EXPECT_EQ(fs_.contents(kRainFile),
            "2010\t0.030\t2.500\t-1.000\t-1.000\t-1.000\t-1.000\t-1.000\t-1.000\t-1.000\t-1.000"
            "\t-1.000\t-1.000\n");
  ASSERT_EQ(rain.yearCount(), 1);
  EXPECT_NEAR(rain.years()[0].total, 2.53, 1e-9);
  EXPECT_TRUE(rain.loaded());
}

TEST_F(RainBuild, AFailedBuildKeepsTableAndFile) {
  const std::string history = "1990 1 1 1 1 1 1 1 1 1 1 1 1\n";
  fs_.setContents(kRainFile, history);
  database::RainDatabase rain(fs_);
  ASSERT_EQ(rain.load(kStation), 0);
  fs_.failWrites(true);
  EXPECT_FALSE(database::buildRainDatabase(rain, db_));
  fs_.failWrites(false);
  EXPECT_EQ(fs_.contents(kRainFile), history);
  ASSERT_EQ(rain.yearCount(), 1);
  EXPECT_EQ(rain.getYear(0), 1990);
}

}  // namespace
