// Summaries kept by a download and rebuilt from the stored records.

#include "database/summary_rebuild.h"

#include <gtest/gtest.h>

#include "database/daily_summary.h"
#include "database/summary_keeper.h"
#include "platform/testing/mem_file_system.h"
#include "summary_hand_day.h"

namespace {

using namespace summary_test;
using database::DailySummaryObject;

constexpr const char* kStation = "/station";
constexpr const char* kJuly = "/station/2006-07.slg";

class SummaryRebuild : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs_.createDirectories(kStation));
    (void)db_.open(kStation);
  }

  // Appends the records as a download does, through a keeper of its own.
  void download(const std::vector<database::WeatherDataObject>& records) {
    database::DaySummaryKeeper keeper(db_, c_.ctx);
    ASSERT_TRUE(keeper.prime());
    for (const auto& r : records) {
      ASSERT_TRUE(keeper.beginRecord(r));
      ASSERT_TRUE(db_.AppendArchiveRecord(r));
      keeper.addRecord(r);
    }
    ASSERT_TRUE(keeper.finish());
    ASSERT_TRUE(db_.flush());
  }

  std::vector<database::WeatherDataObject> handDay() {
    std::vector<database::WeatherDataObject> out;
    for (const Bytes& b : handMadeRecords()) out.push_back(record(b, 2006, 7, 14));
    return out;
  }

  // Two records of the next day, the second closing it at 24:00.
  std::vector<database::WeatherDataObject> nextDay() {
    std::vector<database::WeatherDataObject> out;
    for (int t : {720, 1440}) {
      Bytes b = freshArchive();
      b[1] = 60;
      put16(b, 4, t);
      put16(b, 6, t == 720 ? 600 : 500);
      put16(b, 20, 0x1000 | (t == 720 ? 7 : 0));
      out.push_back(record(b, 2006, 7, 15));
    }
    return out;
  }

  void expectHandDayStored() {
    DailySummaryObject s;
    ASSERT_EQ(db_.GetDailySummary(s, 2006, 7, 14), 0);
    EXPECT_TRUE(s.a.record.bytes() == expectedA()) << diff(expectedA(), s.a.record.bytes());
    EXPECT_TRUE(s.b.record.bytes() == expectedB()) << diff(expectedB(), s.b.record.bytes());
  }

  platform::MemFileSystem fs_;
  database::WeatherDatabase db_{fs_};
  Context c_;
};

TEST_F(SummaryRebuild, ADownloadStoresTheHandWorkedSummary) {
  auto records = handDay();
  auto more = nextDay();
  records.insert(records.end(), more.begin(), more.end());
  download(records);
  expectHandDayStored();

  DailySummaryObject s;
  ASSERT_EQ(db_.GetDailySummary(s, 2006, 7, 15), 0);
  EXPECT_EQ(s.a.record.i16(2), 120);  // the 24:00 record belongs to the day it closes
  EXPECT_EQ(s.a.record.i16(54), 70);
  EXPECT_EQ(s.a.record.i16(6), -32768);  // interval lows never given: none, not 0x7FFF
}

TEST_F(SummaryRebuild, ASecondDownloadOnTheSameDayKeepsTheDayWhole) {
  const auto records = handDay();
  download({records[0], records[1]});
  download({records[2], records[3]});
  expectHandDayStored();
}

TEST_F(SummaryRebuild, RebuildingRestoresTheSummariesAndTwiceGivesTheSameFile) {
  auto records = handDay();
  auto more = nextDay();
  records.insert(records.end(), more.begin(), more.end());
  download(records);
  const std::string original = fs_.contents(kJuly);

  // Spoil the first day's summary, as an older program or a crash might have left it.
  DailySummaryObject spoiled;
  ASSERT_EQ(database::ResetSummary(spoiled, 7, 14, 2006), 0);
  ASSERT_TRUE(db_.EditSummaryRecord(spoiled));
  ASSERT_TRUE(db_.flush());
  ASSERT_NE(fs_.contents(kJuly), original);

  auto report = database::rebuildAllSummaries(db_, c_.ctx);
  ASSERT_TRUE(report);
  EXPECT_EQ(report->days, 2);
  EXPECT_TRUE(report->problems.empty());
  EXPECT_EQ(fs_.contents(kJuly), original);

  ASSERT_TRUE(database::rebuildAllSummaries(db_, c_.ctx));
  EXPECT_EQ(fs_.contents(kJuly), original);
}

TEST_F(SummaryRebuild, OneDayAndADayWithoutData) {
  download(handDay());
  DailySummaryObject spoiled;
  ASSERT_EQ(database::ResetSummary(spoiled, 7, 14, 2006), 0);
  ASSERT_TRUE(db_.EditSummaryRecord(spoiled));
  ASSERT_TRUE(database::rebuildDaySummary(db_, 2006, 7, 14, c_.ctx));
  expectHandDayStored();

  const platform::Status missing = database::rebuildDaySummary(db_, 2006, 7, 20, c_.ctx);
  EXPECT_EQ(missing.kind(), platform::Errc::kNotFound);
}

}  // namespace
