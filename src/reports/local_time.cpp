#include "reports/local_time.h"

#include <chrono>
#include <cmath>

#include "reports/daylight_saving.h"

namespace reports {

namespace {

constexpr int kDayMinutes = 1440;
constexpr int kSavingMinutes = 60;

long long floorDiv(long long a, long long b) {
  long long q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

bool savingAt(const DateMinutes& standard, const LocalClock& clock) {
  switch (clock.saving) {
    case Saving::kOn:
      return true;
    case Saving::kOff:
      return false;
    case Saving::kAutomatic:
      return automaticSavingInForce(standard.date.year, standard.date.month, standard.date.day,
                                    standard.minutes, clock.gmtOffsetHours, clock.southern);
  }
  return false;
}

}  // namespace

LocalClock sunriseClock(const station::StationConfig& config) {
  LocalClock c;
  c.gmtOffsetHours = config.gmtOffset();
  c.southern = config.latSouth();
  if (config.dstManual()) c.saving = config.dstManualOn() ? Saving::kOn : Saving::kOff;
  return c;
}

LocalClock programClock(const station::StationConfig& config) {
  LocalClock c;
  c.gmtOffsetHours = config.gmtOffset();
  c.southern = config.latSouth();
  if (config.dstManual()) c.saving = config.dstOn() ? Saving::kOn : Saving::kOff;
  return c;
}

int offsetMinutes(double gmtOffsetHours) {
  if (!std::isfinite(gmtOffsetHours)) return 0;
  return static_cast<int>(std::trunc(gmtOffsetHours * 60.0));
}

DateMinutes normalized(quantities::Date date, long long minutes) {
  using namespace std::chrono;
  const long long days = floorDiv(minutes, kDayMinutes);
  const sys_days start{year_month_day{year{date.year}, month{static_cast<unsigned>(date.month)},
                                      day{static_cast<unsigned>(date.day)}}};
  const year_month_day ymd{start + std::chrono::days{days}};
  return DateMinutes{{int(ymd.year()), static_cast<int>(unsigned(ymd.month())),
                      static_cast<int>(unsigned(ymd.day()))},
                     static_cast<int>(minutes - days * kDayMinutes)};
}

DateMinutes localFromUniversal(quantities::Date date, double universalHours,
                               const LocalClock& clock) {
  const long long event = static_cast<long long>(std::floor(universalHours * 60.0 + 0.5));
  const DateMinutes standard = normalized(date, event + offsetMinutes(clock.gmtOffsetHours));
  if (!savingAt(standard, clock)) return standard;
  return normalized(standard.date, standard.minutes + kSavingMinutes);
}

DateMinutes universalFromLocal(quantities::Date date, int clockMinutes, const LocalClock& clock) {
  long long minutes = clockMinutes - offsetMinutes(clock.gmtOffsetHours);
  if (savingAt(DateMinutes{date, clockMinutes}, clock)) minutes -= kSavingMinutes;
  return normalized(date, minutes);
}

}  // namespace reports
