#pragma once

// Recomputing stored daily summaries from the archive records of their days, and keeping
// a day's summary current while a download appends records.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "database/weather_database.h"
#include "platform/status.h"
#include "quantities/record_values.h"

namespace database {

// Resets `summary` to `day` and adds every archive record the database holds for that
// day. A day without records is not an error: the summary stays empty. Nothing is
// written.
platform::Status summarizeStoredDay(WeatherDatabase& db, const DateTime& day,
                                    DailySummaryObject& summary,
                                    const quantities::ValueContext& ctx);

// Recomputes and stores the summary of one day with data. kNotFound when the day has no
// summary; on any failure the stored summary is left as it was.
platform::Status rebuildDaySummary(WeatherDatabase& db, int year, int month, int day,
                                   const quantities::ValueContext& ctx);

struct RebuildReport {
  int days = 0;                       // days rebuilt
  std::vector<std::string> problems;  // days that could not be rebuilt, and why
};

// Rebuilds every day of the day list in order; a day that fails is named in the report
// and the others go on. `progress` (may be empty) is told the days done every 7 days.
// The result is an error only when the changes could not be brought to stable storage.
platform::Result<RebuildReport> rebuildAllSummaries(
    WeatherDatabase& db, const quantities::ValueContext& ctx,
    const std::function<void(int done, int total)>& progress = {});

}  // namespace database
