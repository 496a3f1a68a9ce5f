#include "reports/summary_day.h"

#include <cstdio>

#include "platform/string_table.h"
#include "reports/report_text_ids.h"

namespace reports {

namespace {

using namespace records;  // NOLINT(google-build-using-namespace): the field offsets

std::optional<double> tenths(const Record88& r, std::size_t offset) {
  const std::int16_t v = r.i16(offset);
  if (isNoData16(v)) return std::nullopt;
  return v * 0.1;
}

int slotTime(const Record88& a, int slot) {
  const std::uint16_t t = a.packed12(kSumATimeSlots, slot);
  return isSlotTime(t) ? t : -1;
}

bool dayAbsent(int goto_result) {
  return goto_result == database::kResultNoData || goto_result == database::kResultNoMonth;
}

platform::Status summaryError(const std::string& detail) {
  return platform::Status::io(platform::loadString(kMsgDatabaseError) + " (" + detail + ")");
}

platform::Status recordError(const std::string& detail) {
  return platform::Status::io(platform::loadString(kMsgRecordError) + " (" + detail + ")");
}

std::string dayName(int year, int month, int day) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
  return buf;
}

}  // namespace

platform::Result<std::optional<SummaryDay>> readSummaryDay(database::WeatherDatabase& db, int year,
                                                           int month, int day) {
  const int at = db.Goto(month, day, year);
  if (dayAbsent(at)) return std::optional<SummaryDay>();
  if (at < 0) return summaryError(dayName(year, month, day));
  database::DailySummaryObject summary;
  if (db.GetDailySummary(summary, year, month, day) != database::kResultOk) {
    return summaryError(dayName(year, month, day));
  }
  const Record88& a = summary.a.record;
  const Record88& b = summary.b.record;
  SummaryDay d;
  const std::int16_t minutes = a.i16(kSumAMinutes);
  d.minutes = minutes == kNoData16 ? 0 : minutes;
  const std::int16_t rain = a.i16(kSumARain);
  d.rainThousandths = isNoData16(rain) ? 0 : rain;
  d.meanWind = tenths(a, kSumAAvgWindSpeed);
  d.highWind = tenths(a, kSumAHighWindSpeed);
  d.highWindTime = slotTime(a, kSlotAHighWindSpeed);
  d.highF = tenths(a, kSumAHighOutsideTemp);
  d.highTime = slotTime(a, kSlotAHighOutsideTemp);
  d.lowF = tenths(a, kSumALowOutsideTemp);
  d.lowTime = slotTime(a, kSlotALowOutsideTemp);
  d.meanF = tenths(a, kSumAAvgOutsideTemp);
  d.heatingStored = tenths(b, kSumBHeatingDegreeDays);
  d.coolingStored = tenths(b, kSumBCoolingDegreeDays);
  int best = 0;
  for (int i = 0; i < kSumBWindDirCount; ++i) {
    const int m = b.packed12(kSumBWindDirMinutes, i);
    d.directionMinutes[static_cast<std::size_t>(i)] = m;
    if (m > best) {
      best = m;
      d.dominantDirection = i;
    }
  }
  return std::optional<SummaryDay>(d);
}

platform::Status forEachArchiveRecord(
    database::WeatherDatabase& db, int year, int month, int day,
    const std::function<void(const records::ArchiveRecord&)>& each) {
  const int count = db.GotoDay(month, day, year);
  if (dayAbsent(count)) return platform::Status::ok();
  if (count < 0) return recordError(dayName(year, month, day));
  database::WeatherDataObject obj;
  for (int i = 0; i < count; ++i) {
    if (db.GetNextRecord(obj) != database::kResultOk) return recordError(dayName(year, month, day));
    if (obj.record.type() == kArchiveRecordType) each(obj.record);
  }
  return platform::Status::ok();
}

}  // namespace reports
