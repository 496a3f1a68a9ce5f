#pragma once

// Turning universal time into a station's local clock time and back. Everything is done
// in whole minutes: an event time becomes floor(h × 60 + 0.5) minutes, the offset
// (trunc(gmtOffset × 60)) and the saving hour are added in minutes, and the date moves by
// floor division by 1440, so no time shows minute 60 or a negative part.

#include "quantities/date_text.h"
#include "station/station_config.h"

namespace reports {

enum class Saving { kAutomatic, kOn, kOff };

struct LocalClock {
  double gmtOffsetHours = 0;
  Saving saving = Saving::kAutomatic;
  bool southern = false;  // seasons turned round for the automatic rule
};

// The clock of the sunrise report: saving set by hand follows `dstManualOn`.
LocalClock sunriseClock(const station::StationConfig& config);
// The clock of every other conversion from GMT: saving set by hand follows `dstOn`.
LocalClock programClock(const station::StationConfig& config);

struct DateMinutes {
  quantities::Date date;
  int minutes = 0;  // 0-1439
  bool operator==(const DateMinutes&) const = default;
};

// `minutes` after midnight of `date` (any sign or size) as a date and a time of day.
DateMinutes normalized(quantities::Date date, long long minutes);

// The local clock time of `universalHours` after midnight UT of `date`.
DateMinutes localFromUniversal(quantities::Date date, double universalHours,
                               const LocalClock& clock);

// The universal time of a clock time of the station (a record's stamp; 1440 is 24:00 of
// its day). Saving is judged on the clock time itself, as the station's clock shows it.
DateMinutes universalFromLocal(quantities::Date date, int clockMinutes, const LocalClock& clock);

// The offset in minutes, truncated toward zero.
int offsetMinutes(double gmtOffsetHours);

}  // namespace reports
