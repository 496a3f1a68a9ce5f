#pragma once

// What the history pictures are drawn from, read from the database once per run and
// shared by every chart: the archive records of the last 24 hours and the daily
// summaries of the last 30 days.

#include <cstdint>
#include <optional>
#include <vector>

#include "database/weather_database.h"
#include "database/weather_objects.h"
#include "records/month_format.h"

namespace publish {

inline constexpr int kHistoryMinutes = 24 * 60;
inline constexpr int kHistoryDays = 30;

struct TimedRecord {
  std::int64_t minute;  // minutes since 1 January 1970 at 0:00, local time
  records::ArchiveRecord record;
};

struct DayOfHistory {
  records::DateTime date;
  std::optional<database::DailySummaryObject> summary;  // empty: no summary that day
};

struct HistoryData {
  std::int64_t endMinute = 0;        // the moment the charts end at
  std::vector<TimedRecord> records;  // after endMinute - 24 h, up to endMinute, in order
  std::vector<DayOfHistory> days;    // 30 days, the oldest first, ending on endMinute's day
};

// Minutes since 1 January 1970 at 0:00 of a date and time.
std::int64_t minuteOf(const records::DateTime& when);

// Reads the records and summaries ending at `now` from an open database; no database, or
// an empty or closed one, gives no records and 30 days without summaries.
HistoryData loadHistoryData(database::WeatherDatabase* db, const records::DateTime& now);

}  // namespace publish
