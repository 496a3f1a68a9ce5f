#include "database/rain_build.h"

#include <cstdio>

namespace database {

using platform::Status;

Status buildRainDatabase(RainDatabase& rain, WeatherDatabase& db,
                         const std::function<void(int, int)>& progress) {
  if (!db.isOpen()) return Status::badArgument("no station database is open");
  // Built aside, so that a failure half-way leaves the user's table and file alone.
  RainDatabase fresh(rain.fileSystem());
  fresh.setDirectory(rain.directory().empty() ? db.directory() : rain.directory());
  const int total = db.NumberOfDaysInDatabase();
  DailySummaryObject summary;
  for (int i = 0; i < total; ++i) {
    if (progress && i % 20 == 0) progress(i, total);
    if (db.GetDailySummaryIndex(summary, i) != kResultOk) {
      int y = 0, m = 0, d = 0;
      (void)db.DayInfo(i, &y, &m, &d, nullptr, nullptr);
      char day[32];
      std::snprintf(day, sizeof day, "%04d-%02d-%02d", y, m, d);
      return Status::corrupt(std::string(day) + ": the day's summary cannot be read");
    }
    if (fresh.AddSummaryRain(summary) != kResultOk) {
      return Status::corrupt("a day's summary carries no calendar date");
    }
  }
  if (progress) progress(total, total);
  fresh.recomputeAllTotals();
  if (Status s = fresh.saveStatus(); !s) return s;
  rain.setDirectory(fresh.directory());
  rain.replaceYears(fresh.years());
  return rain.saveStatus();
}

}  // namespace database
