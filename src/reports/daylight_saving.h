#pragma once

// Daylight saving by the station's automatic rule: the clock goes forward an hour on the
// first Sunday of April (stations west of Greenwich) or the last Sunday of March (east of
// it, and at Greenwich), and back on the last Sunday of October, each time at 02:00 local
// standard time. The Sundays are worked out from the calendar, so every year from 2000 on
// is handled alike; before 2000 the rule never applies. Regions with other rules set
// saving on or off by hand.

namespace reports {

struct SavingDates {
  int startMonth = 0;
  int startDay = 0;
  int endDay = 0;  // of October
};

// The change days of `year` for a station `gmtOffsetHours` east of Greenwich.
// REQUIRES: year >= 2000
SavingDates savingDates(int year, double gmtOffsetHours);

// True when saving is in force at `standardMinutes` (local standard time, minutes after
// midnight) of the date, for a station `gmtOffsetHours` east of Greenwich; `southern`
// turns the season round.
bool automaticSavingInForce(int year, int month, int day, int standardMinutes,
                            double gmtOffsetHours, bool southern);

}  // namespace reports
