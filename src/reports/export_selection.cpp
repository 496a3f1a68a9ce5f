#include "reports/export_selection.h"

#include <algorithm>

#include "database/weather_objects.h"
#include "records/month_format.h"
#include "reports/export_text_ids.h"
#include "reports/report_format.h"
#include "platform/string_table.h"

namespace reports {

namespace {

std::int32_t packedDay(int year, int month, int day) { return (year << 16) | (month << 8) | day; }
int yearOf(std::int32_t packed) { return packed >> 16; }
int monthOf(std::int32_t packed) { return (packed >> 8) & 0xFF; }

}  // namespace

std::vector<DayRecords> daysWithRecords(const database::WeatherDatabase& db) {
  std::vector<DayRecords> out;
  const int days = db.NumberOfDaysInDatabase();
  out.reserve(static_cast<std::size_t>(days));
  int archive = 0;
  for (int i = 0; i < days; ++i) {
    int y = 0, m = 0, d = 0, count = 0;
    if (db.DayInfo(i, &y, &m, &d, &count, nullptr) != database::kResultOk) break;
    const int records = std::max(0, count - static_cast<int>(records::kSummaryRecordsPerDay));
    out.push_back({packedDay(y, m, d), archive, records});
    archive += records;
  }
  return out;
}

platform::Status checkSelection(const database::WeatherDatabase& db, const ExportSelection& s) {
  const std::vector<std::int32_t>& days = db.dayList();
  for (const quantities::Date& d : s.days) {
    if (!std::binary_search(days.begin(), days.end(), packedDay(d.year, d.month, d.day))) {
      return platform::Status::notFound(formatLine(
          platform::stringText(export_text::kNoSuchDay),
          {static_cast<long long>(d.year), static_cast<long long>(d.month),
           static_cast<long long>(d.day)}));
    }
  }
  for (const YearMonth& ym : s.months) {
    const bool present = std::any_of(days.begin(), days.end(), [&](std::int32_t p) {
      return yearOf(p) == ym.year && monthOf(p) == ym.month;
    });
    if (!present) {
      return platform::Status::notFound(
          formatLine(platform::stringText(export_text::kNoSuchMonth),
                     {static_cast<long long>(ym.year), static_cast<long long>(ym.month)}));
    }
  }
  for (int year : s.years) {
    const bool present =
        std::any_of(days.begin(), days.end(), [&](std::int32_t p) { return yearOf(p) == year; });
    if (!present) {
      return platform::Status::notFound(formatLine(
          platform::stringText(export_text::kNoSuchYear), {static_cast<long long>(year)}));
    }
  }
  return platform::Status::ok();
}

std::vector<DayRecords> selectedDays(const database::WeatherDatabase& db,
                                     const ExportSelection& s) {
  const std::vector<DayRecords> all = daysWithRecords(db);
  std::vector<DayRecords> out;
  auto byDay = [](const DayRecords& r, std::int32_t p) { return r.packed < p; };
  for (const quantities::Date& d : s.days) {
    const std::int32_t p = packedDay(d.year, d.month, d.day);
    auto it = std::lower_bound(all.begin(), all.end(), p, byDay);
    if (it != all.end() && it->packed == p) out.push_back(*it);
  }
  for (const YearMonth& ym : s.months) {
    auto it = std::lower_bound(all.begin(), all.end(), packedDay(ym.year, ym.month, 0), byDay);
    for (; it != all.end() && yearOf(it->packed) == ym.year && monthOf(it->packed) == ym.month;
         ++it) {
      out.push_back(*it);
    }
  }
  for (int year : s.years) {
    auto it = std::lower_bound(all.begin(), all.end(), packedDay(year, 0, 0), byDay);
    for (; it != all.end() && yearOf(it->packed) == year; ++it) out.push_back(*it);
  }
  return out;
}

}  // namespace reports
