#include "publish/image_history.h"

#include <gtest/gtest.h>

#include "publish/image_style.h"
#include "quantities/user_conventions.h"

namespace publish {
namespace {

constexpr int kOutsideTempHistory = 1;

// A day of 5-minute records at 70 °F, except those in [gapFrom, gapTo) which hold no
// temperature.
HistoryData dayOfRecords(int gapFrom, int gapTo) {
  HistoryData d;
  d.endMinute = 100000 * 1440LL;
  for (int i = 1; i <= 288; ++i) {
    records::ArchiveRecord r;
    r.setU8(records::kArcInterval, 5);
    if (i < gapFrom || i >= gapTo) r.setI16(records::kArcOutsideTemp, 700 + (i % 7));
    d.records.push_back({d.endMinute - kHistoryMinutes + 5 * i, r});
  }
  return d;
}

bool columnHasInk(const Raster& r, int x, std::uint8_t ink) {
  for (int y = 0; y < r.height(); ++y)
    if (r.at(x, y) == ink) return true;
  return false;
}

int inkCount(const Raster& r, std::uint8_t ink) {
  int n = 0;
  for (std::uint8_t p : r.pixels()) n += p == ink;
  return n;
}

TEST(HistoryPicture, RecordsWithoutAValueLeaveAGapNotAZero) {
  const quantities::UserConventions c;
  const ImageKind& kind = historyImages()[kOutsideTempHistory];
  // Records 100 to 159 (five hours) hold nothing; the chart is 320 pixels wide at "Med.".
  const Raster r = drawHistoryPicture(kind, "T", dayOfRecords(100, 160), c.values(), 1);
  int gapColumns = 0, inkedGapColumns = 0;
  for (int x = 0; x < r.width(); ++x) {
    // The plot spans the 24 hours; columns well inside the gap's 5 hours.
    const double hour = 24.0 * (x - 40) / (r.width() - 40 - 6);
    if (hour > 8.7 && hour < 12.6) {
      ++gapColumns;
      inkedGapColumns += columnHasInk(r, x, kInkData);
    }
  }
  EXPECT_GT(gapColumns, 20);
  EXPECT_EQ(inkedGapColumns, 0);
  EXPECT_GT(inkCount(r, kInkData), 200);
}

TEST(HistoryPicture, ASpanWithoutValuesIsAnEmptyChartMarkedMissing) {
  const quantities::UserConventions c;
  for (int k : {kOutsideTempHistory, 38 /* HeatDegDaysHistory: bars */}) {
    const ImageKind& kind = historyImages()[static_cast<std::size_t>(k)];
    HistoryData none = dayOfRecords(0, 1000);
    none.days.resize(kHistoryDays);
    const Raster r = drawHistoryPicture(kind, "T", none, c.values(), 1);
    EXPECT_EQ(inkCount(r, kInkData), 0) << k;
    EXPECT_EQ(inkCount(r, kInkBar), 0) << k;
    EXPECT_GT(inkCount(r, kInkMissing), 20) << k;
  }
}

}  // namespace
}  // namespace publish
