#include "station/leap_year_notice.h"

#include <gtest/gtest.h>

namespace station {
namespace {

struct NoticeDay {
  const char* name;
  int year, month, day;
  bool due;
};

// Days counted by hand from 1 March: 9 February 2028 lies 21 days before it (29 February
// is in that year), 10 February 20 days; 21 March is 20 days after, 22 March 21.
constexpr NoticeDay kDays[] = {
    {"21 days before, leap year", 2028, 2, 9, false},
    {"20 days before, leap year", 2028, 2, 10, true},
    {"20 days before, common year", 2027, 2, 9, true},
    {"21 days before, common year", 2027, 2, 8, false},
    {"leap day", 2028, 2, 29, true},
    {"1 March", 2027, 3, 1, true},
    {"20 days after", 2027, 3, 21, true},
    {"21 days after", 2027, 3, 22, false},
    {"new year", 2027, 1, 1, false},
    {"not a date", 2027, 2, 30, false},
};

TEST(LeapYearNotice, ShownFewerThan21DaysFromTheFirstOfMarch) {
  for (const NoticeDay& d : kDays) {
    EXPECT_EQ(leapYearNoticeDue(d.year, d.month, d.day), d.due) << d.name;
  }
}

}  // namespace
}  // namespace station
