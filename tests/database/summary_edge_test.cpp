// Edge cases of building a summary: what is refused, what is left out, what saturates.

#include <gtest/gtest.h>

#include "database/daily_summary.h"
#include "summary_test_support.h"

namespace {

using namespace summary_test;
using database::DailySummaryObject;

DailySummaryObject resetDay() {
  DailySummaryObject s;
  EXPECT_EQ(database::ResetSummary(s, 3, 1, 2007), 0);
  return s;
}

Bytes minimalRecord(int minutes, int interval = 5) {
  Bytes r = freshArchive();
  r[1] = static_cast<std::uint8_t>(interval);
  put16(r, 4, minutes);
  return r;
}

TEST(SummaryEdge, EqualHighsKeepTheEarlierTime) {
  Context c;
  DailySummaryObject s = resetDay();
  for (int t : {300, 600}) {
    Bytes r = minimalRecord(t);
    put16(r, 8, 654);
    (void)database::SummarizeDataRecord(s, record(r, 2007, 3, 1), c.ctx);
  }
  EXPECT_EQ(s.a.record.i16(4), 654);
  EXPECT_EQ(s.a.record.packed12(61, 0), 300);
}

TEST(SummaryEdge, MissingInsideTemperatureStoresNone) {
  Context c;
  DailySummaryObject s = resetDay();
  for (int t : {5, 10}) {
    Bytes r = minimalRecord(t);
    put16(r, 12, t == 5 ? -32768 : 0x7FFF);  // both no-data forms
    (void)database::SummarizeDataRecord(s, record(r, 2007, 3, 1), c.ctx);
  }
  ASSERT_EQ(database::FinalSummarizeData(s), 1);
  EXPECT_EQ(s.a.record.i16(8), -32768);
  EXPECT_EQ(s.a.record.i16(10), -32768);
  EXPECT_EQ(s.a.record.i16(14), -32768);
  EXPECT_EQ(s.a.record.packed12(61, 2), 0x7FF);
  EXPECT_EQ(s.a.record.packed12(61, 3), 0x7FF);
}

TEST(SummaryEdge, MissingUvWritesNoTime) {
  Context c;
  DailySummaryObject s = resetDay();
  (void)database::SummarizeDataRecord(s, record(minimalRecord(5), 2007, 3, 1), c.ctx);
  ASSERT_EQ(database::FinalSummarizeData(s), 1);
  EXPECT_EQ(s.a.record.u8(60), 255);
  EXPECT_EQ(s.a.record.packed12(61, 17), 0x7FF);
  EXPECT_EQ(s.a.record.i16(58), -32768);  // no UV dose either
}

TEST(SummaryEdge, ARecordWithoutATimeClaimsNoTime) {
  Context c;
  DailySummaryObject s = resetDay();
  Bytes r = minimalRecord(-32768);
  put16(r, 8, 500);
  put16(r, 34, 100);
  (void)database::SummarizeDataRecord(s, record(r, 2007, 3, 1), c.ctx);
  EXPECT_EQ(s.a.record.i16(4), 500);
  EXPECT_EQ(s.a.record.packed12(61, 0), 0x7FF);
  EXPECT_EQ(s.b.record.packed12(60, 0), 0x800);
}

TEST(SummaryEdge, CountsSaturateInsteadOfWrapping) {
  Context c;
  DailySummaryObject s = resetDay();
  // 300 records of 255 minutes: 76500 minutes, far beyond 16 bits.
  for (int i = 0; i < 300; ++i) {
    Bytes r = minimalRecord(5, 255);
    put16(r, 6, 700);
    r[28] = 3;
    put16(r, 30, 30000);
    r[57] = 200;
    (void)database::SummarizeDataRecord(s, record(r, 2007, 3, 1), c.ctx);
  }
  ASSERT_EQ(database::FinalSummarizeData(s), 1);
  EXPECT_EQ(s.a.record.i16(2), 32767);          // minutes of data
  EXPECT_EQ(s.b.record.i16(4), 32767);          // wind samples
  EXPECT_EQ(s.b.record.packed12(36, 3), 4095);  // minutes from ENE
  EXPECT_EQ(s.a.record.i16(12), 700);           // the average is still 70.0
  EXPECT_EQ(s.b.record.i16(12), 32766);         // 60 inches of ET stops short of 0x7FFF
}

TEST(SummaryEdge, OnlyReadyActiveSummariesTakeArchiveRecords) {
  Context c;
  const Bytes r = minimalRecord(5);

  DailySummaryObject empty;  // never reset
  EXPECT_EQ(database::SummarizeDataRecord(empty, record(r, 2007, 3, 1), c.ctx), 0);
  EXPECT_EQ(database::FinalSummarizeData(empty), 0);

  DailySummaryObject loaded = resetDay();
  loaded.active = 0;  // as GetDailySummary leaves it
  EXPECT_EQ(database::SummarizeDataRecord(loaded, record(r, 2007, 3, 1), c.ctx), 0);
  EXPECT_EQ(database::FinalSummarizeData(loaded), 0);

  DailySummaryObject s = resetDay();
  const DailySummaryObject before = s;
  Bytes summaryRecord = r;
  summaryRecord[0] = 2;
  EXPECT_EQ(database::SummarizeDataRecord(s, record(summaryRecord, 2007, 3, 1), c.ctx), 0);
  EXPECT_EQ(s.a.record, before.a.record);
  EXPECT_EQ(s.b.record, before.b.record);
}

TEST(SummaryEdge, ResetRefusesADateOutsideTheCalendar) {
  DailySummaryObject s;
  EXPECT_EQ(database::ResetSummary(s, 2, 30, 2007), -1601);
  EXPECT_EQ(s.state, 3);
}

TEST(SummaryEdge, IsSameDate) {
  const Bytes r = minimalRecord(5);
  DailySummaryObject s = resetDay();
  EXPECT_EQ(database::IsSameDate(s, record(r, 2007, 3, 1)), 1);
  EXPECT_EQ(database::IsSameDate(s, record(r, 2007, 3, 2)), 0);
  s.b.date = records::DateTime::fromDate(2007, 3, 2);  // halves disagree
  EXPECT_EQ(database::IsSameDate(s, record(r, 2007, 3, 1)), 0);
  DailySummaryObject empty;
  EXPECT_EQ(database::IsSameDate(empty, record(r, 0, 0, 0)), 0);
}

}  // namespace
