#include "database/summary_rebuild.h"

#include <cstdio>

#include "database/daily_summary.h"
#include "database/view_text.h"

namespace database {

using platform::Status;

namespace {

std::string dayText(int year, int month, int day) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
  return buf;
}

}  // namespace

Status summarizeStoredDay(WeatherDatabase& db, const DateTime& day, DailySummaryObject& summary,
                          const quantities::ValueContext& ctx) {
  const std::string name = dayText(day.year, day.month, day.day);
  if (ResetSummary(summary, day.month, day.day, day.year) != kResultOk) {
    return Status::badArgument(viewText(64786, {name}));
  }
  const int count = db.GotoDay(day.month, day.day, day.year);
  if (count == kResultNoData || count == kResultNoMonth) return Status::ok();
  if (count < 0) return Status::io(viewText(64787, {name}));
  WeatherDataObject record;
  for (int i = 0; i < count; ++i) {
    const int got = db.GetNextRecord(record);
    if (got != kResultOk) {
      return Status::corrupt(viewText(64788, {name, std::to_string(count), std::to_string(i)}));
    }
    if (i < kSummaryRecordsPerDay) {
      const std::uint8_t want = i == 0 ? kSummaryARecordType : kSummaryBRecordType;
      if (record.record.type() != want) {
        return Status::corrupt(viewText(64789, {name}));
      }
      continue;
    }
    (void)SummarizeDataRecord(summary, record, ctx);
  }
  return Status::ok();
}

Status rebuildDaySummary(WeatherDatabase& db, int year, int month, int day,
                         const quantities::ValueContext& ctx) {
  const std::string name = dayText(year, month, day);
  DailySummaryObject summary;
  if (db.GetDailySummary(summary, year, month, day) != kResultOk) {
    return Status::notFound(viewText(64790, {name}));
  }
  const DateTime date = DateTime::fromDate(year, month, day, kNoTime);
  if (Status s = summarizeStoredDay(db, date, summary, ctx); !s) return s;
  (void)FinalSummarizeData(summary);
  return db.EditSummaryRecord(summary);
}

platform::Result<RebuildReport> rebuildAllSummaries(WeatherDatabase& db,
                                                    const quantities::ValueContext& ctx,
                                                    const std::function<void(int, int)>& progress) {
  RebuildReport report;
  // Rewriting summaries never changes the day list, but a copy keeps the loop honest.
  const std::vector<std::int32_t> days = db.dayList();
  const int total = static_cast<int>(days.size());
  for (int i = 0; i < total; ++i) {
    if (progress && i % 7 == 0) progress(i, total);
    const std::int32_t packed = days[static_cast<std::size_t>(i)];
    const Status s =
        rebuildDaySummary(db, packedYear(packed), packedMonth(packed), packedDay(packed), ctx);
    if (s) {
      ++report.days;
    } else {
      report.problems.push_back(s.message());
    }
  }
  if (progress) progress(total, total);
  if (Status s = db.flush(); !s) return s;
  return report;
}

}  // namespace database
