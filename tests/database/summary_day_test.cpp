// A day built from four hand-made hourly records (summary_hand_day.h), checked byte for
// byte against summary records A and B worked out by hand.

#include <gtest/gtest.h>

#include "database/daily_summary.h"
#include "summary_hand_day.h"

namespace {

using namespace summary_test;
using database::DailySummaryObject;

TEST(SummaryDay, HandMadeRecordsGiveTheHandWorkedRecords) {
  Context c;
  DailySummaryObject s;
  ASSERT_EQ(database::ResetSummary(s, 7, 14, 2006), 0);
  for (const Bytes& r : handMadeRecords()) {
    EXPECT_EQ(database::SummarizeDataRecord(s, record(r, 2006, 7, 14), c.ctx), 1);
  }
  ASSERT_EQ(database::FinalSummarizeData(s), 1);

  const Bytes a = expectedA();
  const Bytes b = expectedB();
  EXPECT_TRUE(s.a.record.bytes() == a) << "record A\n" << diff(a, s.a.record.bytes());
  EXPECT_TRUE(s.b.record.bytes() == b) << "record B\n" << diff(b, s.b.record.bytes());
}

TEST(SummaryDay, CompletingTwiceChangesNothing) {
  Context c;
  DailySummaryObject s;
  ASSERT_EQ(database::ResetSummary(s, 7, 14, 2006), 0);
  for (const Bytes& r : handMadeRecords()) {
    (void)database::SummarizeDataRecord(s, record(r, 2006, 7, 14), c.ctx);
  }
  ASSERT_EQ(database::FinalSummarizeData(s), 1);
  const DailySummaryObject once = s;
  ASSERT_EQ(database::FinalSummarizeData(s), 1);
  EXPECT_EQ(s.a.record, once.a.record);
  EXPECT_EQ(s.b.record, once.b.record);
}

TEST(SummaryDay, ARecordAfterCompletionStillLowersTheLows) {
  // A download completes the day at its end and may go on with the same day later.
  Context c;
  DailySummaryObject s;
  ASSERT_EQ(database::ResetSummary(s, 7, 14, 2006), 0);
  Bytes r = freshArchive();
  r[1] = 5;
  put16(r, 4, 5);
  put16(r, 12, 700);
  (void)database::SummarizeDataRecord(s, record(r, 2006, 7, 14), c.ctx);
  ASSERT_EQ(database::FinalSummarizeData(s), 1);
  ASSERT_EQ(s.a.record.i16(6), -32768);  // no outside temperature yet: low is none
  put16(r, 4, 10);
  put16(r, 10, 123);
  (void)database::SummarizeDataRecord(s, record(r, 2006, 7, 14), c.ctx);
  EXPECT_EQ(s.a.record.i16(6), 123);
  EXPECT_EQ(s.a.record.packed12(61, 1), 10);
}

}  // namespace
