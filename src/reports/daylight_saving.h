#pragma once

// Daylight saving by the station's automatic rule: the clock goes forward an hour on the
// first Sunday of April (stations west of Greenwich) or the last Sunday of March (east of
// it), and back on the last Sunday of October, each time at 02:00 local standard time.
// The Sundays come from a seven-entry table of year types, so years after 2099 are not
// handled; before 2000 the rule never applies.

namespace reports {

// True when saving is in force at `standardMinutes` (local standard time, minutes after
// midnight) of the date, for a station `gmtOffsetHours` east of Greenwich; `southern`
// turns the season round.
bool automaticSavingInForce(int year, int month, int day, int standardMinutes,
                            double gmtOffsetHours, bool southern);

}  // namespace reports
