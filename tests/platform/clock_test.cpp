#include <gtest/gtest.h>

#include "platform/clock.h"

namespace platform {
namespace {

TEST(FakeClock, AdvancesMonotonicAndWallTogether) {
  FakeClock clock;
  clock.setLocal(2006, 3, 15, 23, 59, 59);
  auto start = clock.now();
  clock.advance(std::chrono::milliseconds(1500));
  EXPECT_EQ(clock.now() - start, std::chrono::milliseconds(1500));
  CivilTime c = clock.localNow();
  EXPECT_EQ(c.day, 16);
  EXPECT_EQ(c.hour, 0);
  EXPECT_EQ(c.second, 0);
}

TEST(FakeClock, LocalOffsetAndWeekday) {
  FakeClock clock(WallTime{}, 60);
  clock.setLocal(2006, 1, 1, 0, 0, 0);
  CivilTime utc = clock.toUtc(clock.wallNow());
  EXPECT_EQ(utc.year, 2005);
  EXPECT_EQ(utc.hour, 23);
  EXPECT_EQ(clock.localNow().weekday, 0);  // 1 January 2006 was a Sunday
}

TEST(Calendar, LeapYearsAndMonthLengths) {
  EXPECT_EQ(daysInMonth(2000, 2), 29);
  EXPECT_EQ(daysInMonth(1900, 2), 28);
  EXPECT_EQ(daysInMonth(2024, 2), 29);
  EXPECT_EQ(daysInMonth(2006, 13), 0);
}

}  // namespace
}  // namespace platform
