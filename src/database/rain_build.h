#pragma once

// Building the rain database from the station database: the rain of every day's summary
// goes to its month. What the table held before (typed-in history included) is replaced.

#include <functional>
#include <optional>

#include "database/rain_database.h"
#include "database/weather_database.h"
#include "platform/status.h"

namespace database {

// Builds a fresh table from the daily summaries of every day with data, in day order,
// saves it to the station's rain.db and puts it in place of `rain`'s table. A day whose
// summary cannot be read fails the build; the table and the file then stay as they were.
// `progress` (may be empty) is told the days done every 20 days.
platform::Status buildRainDatabase(RainDatabase& rain, WeatherDatabase& db,
                                   const std::function<void(int done, int total)>& progress = {});

// When the station database holds records newer than rain.db has counted (a run killed
// after a page's records and before its rain, a full disk), the months from the one of
// that mark to the newest record's are set again from the daily summaries, and the table
// is saved with its mark moved to the newest record. Years and months before the mark,
// typed in or not, stay as they are. A table without a mark is taken as up to date. True
// when months were set again.
platform::Result<bool> catchUpRainDatabase(RainDatabase& rain, WeatherDatabase& db);

}  // namespace database
