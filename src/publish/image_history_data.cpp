#include "publish/image_history_data.h"

namespace publish {

namespace {

// Days since 1 January 1970 of a calendar date (proleptic Gregorian).
std::int64_t daysFromCivil(int y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = static_cast<int>(y - era * 400);
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

std::int64_t minuteOf(const records::DateTime& when) {
  const int minutes = when.minutes <= records::kMinutesPerDay ? when.minutes : 0;
  return daysFromCivil(when.year, when.month, when.day) * 1440 + minutes;
}

HistoryData loadHistoryData(database::WeatherDatabase* database, const records::DateTime& now) {
  HistoryData data;
  const bool open = database != nullptr && database->isOpen();
  data.endMinute = minuteOf(now);
  records::DateTime day = records::DateTime::fromDate(now.year, now.month, now.day);
  for (int i = 0; i < kHistoryDays - 1; ++i) day.previousDay();
  data.days.reserve(kHistoryDays);
  for (int i = 0; i < kHistoryDays; ++i) {
    DayOfHistory entry{day, std::nullopt};
    if (open) {
      database::DailySummaryObject summary;
      if (database->GetDailySummary(summary, day.year, day.month, day.day) == database::kResultOk) {
        entry.summary = summary;
      }
    }
    data.days.push_back(entry);
    day.nextDay();
  }
  if (!open || database->NumberOfRecordsInDataBase() <= 0) return data;

  const std::int64_t start = data.endMinute - kHistoryMinutes;
  records::DateTime from = records::DateTime::fromDate(now.year, now.month, now.day);
  from.previousDay();
  const int fromMinutes = now.minutes <= records::kMinutesPerDay ? now.minutes : 0;
  int n = database->GetClosestArchive(from.year, from.month, from.day, fromMinutes / 60, fromMinutes % 60);
  if (n < 0) return data;
  const int total = database->NumberOfRecordsInDataBase();
  // The closest record may lie just before the span; the records after it are in order.
  database::WeatherDataObject obj;
  for (; n < total; ++n) {
    if (database->GetRecord(obj, n) != database::kResultOk) break;
    const std::int64_t minute = minuteOf(obj.date);
    if (minute <= start) continue;
    if (minute > data.endMinute) break;
    data.records.push_back({minute, obj.record});
  }
  return data;
}

}  // namespace publish
