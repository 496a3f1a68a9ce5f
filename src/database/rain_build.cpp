#include "database/rain_build.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "database/daily_summary.h"
#include "database/view_text.h"

namespace database {

using platform::Status;

Status buildRainDatabase(RainDatabase& rain, WeatherDatabase& db,
                         const std::function<void(int, int)>& progress) {
  if (!db.isOpen()) return Status::badArgument(viewText(64766));
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
      return Status::corrupt(viewText(64767));
    }
  }
  if (progress) progress(total, total);
  fresh.recomputeAllTotals();
  if (db.NumberOfRecordsInDataBase() > 0) fresh.setCountedThrough(db.lastDate());
  if (Status s = fresh.saveStatus(); !s) return s;
  rain.setDirectory(fresh.directory());
  rain.replaceYears(fresh.years());
  rain.setCountedThrough(fresh.countedThrough());
  return rain.saveStatus();
}

platform::Result<bool> catchUpRainDatabase(RainDatabase& rain, WeatherDatabase& db) {
  if (!rain.loaded() || !rain.countedThrough() || db.NumberOfRecordsInDataBase() <= 0) {
    return false;
  }
  const DateTime mark = *rain.countedThrough();
  const DateTime newest = db.lastDate();
  if (newest.packed() < mark.packed() ||
      (newest.packed() == mark.packed() && newest.minutes <= mark.minutes)) {
    return false;
  }
  // Whole months from the mark's on: the mark's month counts part of its days already,
  // and the summaries hold every day of it that the station logged.
  const DateTime from = filingDay(mark);
  const std::pair<int, int> first{from.year, from.month};
  RainDatabase sums(rain.fileSystem());
  DailySummaryObject summary;
  for (int i = db.NumberOfDaysInDatabase() - 1; i >= 0; --i) {
    int y = 0, m = 0, d = 0;
    if (db.DayInfo(i, &y, &m, &d, nullptr, nullptr) != kResultOk) continue;
    if (std::pair{y, m} < first) break;
    if (db.GetDailySummaryIndex(summary, i) != kResultOk) {
      char day[32];
      std::snprintf(day, sizeof day, "%04d-%02d-%02d", y, m, d);
      return Status::corrupt(std::string(day) + ": the day's summary cannot be read");
    }
    (void)sums.AddSummaryRain(summary);
  }
  // Set aside and put in place only whole, so that a failure leaves the table alone.
  std::vector<RainYear> years = rain.years();
  for (const RainYear& counted : sums.years()) {
    auto at = std::find_if(years.begin(), years.end(),
                           [&](const RainYear& y) { return y.year == counted.year; });
    if (at == years.end()) {
      years.push_back(counted);
      continue;
    }
    for (int m = 0; m < kRainMonths; ++m) {
      if (std::pair{counted.year, m + 1} < first) continue;
      if (counted.months[static_cast<std::size_t>(m)] >= 0) {
        at->months[static_cast<std::size_t>(m)] = counted.months[static_cast<std::size_t>(m)];
      }
    }
    at->recomputeTotal();
  }
  const std::optional<DateTime> before = rain.countedThrough();
  const std::vector<RainYear> kept = rain.years();
  rain.replaceYears(std::move(years));
  rain.setCountedThrough(newest);
  if (Status s = rain.saveStatus(); !s) {
    rain.replaceYears(kept);
    rain.setCountedThrough(before);
    return s;
  }
  return true;
}

}  // namespace database
