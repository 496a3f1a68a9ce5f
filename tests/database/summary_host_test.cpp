// The summary operations by handle, as modules reach them.

#include "database/summary_host.h"

#include <gtest/gtest.h>

#include "summary_test_support.h"

namespace {

using namespace summary_test;

TEST(SummaryHost, HandlesAreCheckedBeforeAnythingRuns) {
  Context c;
  database::HostDatabase host;
  const int summary = host.GetDailySummaryHandle();
  const int record = host.GetWeatherDataHandle();
  ASSERT_GT(summary, 0);
  ASSERT_GT(record, 0);

  EXPECT_EQ(database::ResetSummary(host, summary, 3, 1, 2007, 0), 0);
  EXPECT_EQ(database::SummarizeDataRecord(host, summary, record, c.ctx), 1);
  EXPECT_EQ(database::FinalSummarizeData(host, summary), 1);
  int minutes = -1;
  EXPECT_EQ(database::GetSummaryTimeValue(host, summary, 0x1000, &minutes), 0);
  EXPECT_EQ(minutes, -32768);
  std::string text;
  EXPECT_EQ(database::GetSummaryDataStr(host, summary, 0x1000, &text, c.units), 0);
  EXPECT_EQ(text, "---");
  EXPECT_EQ(database::GetSummaryDataStr(host, summary, 0x1000, nullptr, c.units), -1601);

  // A weather-data handle where a summary handle belongs, and a destroyed handle.
  EXPECT_EQ(database::FinalSummarizeData(host, record), -1600);
  EXPECT_EQ(database::SummarizeDataRecord(host, summary, summary, c.ctx), -1600);
  ASSERT_EQ(host.DestroyDailySummaryHandle(summary), 1);
  EXPECT_EQ(database::IsSameDate(host, summary, record), -1600);
  float v = 0;
  EXPECT_EQ(database::GetSummaryData(host, summary, 0x1000, 1, &v, c.units), -1600);
}

}  // namespace
