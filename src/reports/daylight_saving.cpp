#include "reports/daylight_saving.h"

namespace reports {

namespace {

constexpr int kChangeMinutes = 120;  // 02:00 local standard time

// The Sundays of the change, by year type ((Y − 2000) div 4 + (Y − 2000)) mod 7.
constexpr int kAprilStart[7] = {2, 1, 7, 6, 5, 4, 3};         // first Sunday of April
constexpr int kMarchStart[7] = {26, 25, 31, 30, 29, 28, 27};  // last Sunday of March
constexpr int kOctoberEnd[7] = {29, 28, 27, 26, 25, 31, 30};  // last Sunday of October

// Month and day packed so that dates of one year compare in calendar order.
constexpr int monthDay(int month, int day) { return month * 32 + day; }

}  // namespace

bool automaticSavingInForce(int year, int month, int day, int standardMinutes,
                            double gmtOffsetHours, bool southern) {
  if (year < 2000) return false;
  const int type = ((year - 2000) / 4 + (year - 2000)) % 7;
  const int start =
      gmtOffsetHours < 0 ? monthDay(4, kAprilStart[type]) : monthDay(3, kMarchStart[type]);
  const int end = monthDay(10, kOctoberEnd[type]);
  const int date = monthDay(month, day);
  const bool afterChange = standardMinutes >= kChangeMinutes;
  if (!southern) {
    if (date == start) return afterChange;
    if (date == end) return !afterChange;
    return date > start && date < end;
  }
  if (date == start) return !afterChange;
  if (date == end) return afterChange;
  return date < start || date > end;
}

}  // namespace reports
