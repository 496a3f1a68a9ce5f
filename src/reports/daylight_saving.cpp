#include "reports/daylight_saving.h"

#include "quantities/date_text.h"

namespace reports {

namespace {

constexpr int kChangeMinutes = 120;  // 02:00 local standard time

// Month and day packed so that dates of one year compare in calendar order.
constexpr int monthDay(int month, int day) { return month * 32 + day; }

int lastSunday(int year, int month, int lastDay) {
  return lastDay - quantities::weekday(year, month, lastDay);
}

int firstSunday(int year, int month) { return 1 + (7 - quantities::weekday(year, month, 1)) % 7; }

}  // namespace

SavingDates savingDates(int year, double gmtOffsetHours) {
  SavingDates d;
  if (gmtOffsetHours < 0) {
    d.startMonth = 4;
    d.startDay = firstSunday(year, 4);
  } else {
    d.startMonth = 3;
    d.startDay = lastSunday(year, 3, 31);
  }
  d.endDay = lastSunday(year, 10, 31);
  return d;
}

bool automaticSavingInForce(int year, int month, int day, int standardMinutes,
                            double gmtOffsetHours, bool southern) {
  if (year < 2000) return false;
  const SavingDates dates = savingDates(year, gmtOffsetHours);
  const int start = monthDay(dates.startMonth, dates.startDay);
  const int end = monthDay(10, dates.endDay);
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
