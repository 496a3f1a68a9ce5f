#include "link/download_store.h"

#include "database/daily_summary.h"
#include "database/summary_rebuild.h"

namespace stationlink {

namespace {

using platform::Status;
using records::DateTime;

bool later(const DateTime& a, const DateTime& b) {
  if (a.packed() != b.packed()) return a.packed() > b.packed();
  return a.minutes > b.minutes;
}

bool sound(const DateTime& t) {
  return t.minutes <= records::kMinutesPerDay && records::isValidDate(t.year, t.month, t.day);
}

}  // namespace

std::optional<DateTime> newestSoundRecord(database::WeatherDatabase& db,
                                          std::vector<DateTime>& damaged) {
  for (int i = db.NumberOfRecordsInDataBase() - 1; i >= 0; --i) {
    database::WeatherDataObject obj;
    if (db.GetRecord(obj, i) != 0) continue;
    if (sound(obj.date)) return obj.date;
    damaged.push_back(obj.date);
  }
  return std::nullopt;
}

platform::Result<bool> mendNewestSummary(database::WeatherDatabase& db,
                                         const quantities::ValueContext& values) {
  if (db.NumberOfRecordsInDataBase() <= 0) return false;
  const DateTime day = database::filingDay(db.lastDate());
  database::DailySummaryObject stored;
  if (db.GetDailySummary(stored, day.year, day.month, day.day) != 0) return false;
  database::DailySummaryObject fresh;
  if (Status s = database::summarizeStoredDay(db, day, fresh, values); !s) return s;
  if (stored.a.record.i16(records::kSumAMinutes) == fresh.a.record.i16(records::kSumAMinutes)) {
    return false;
  }
  if (Status s = database::rebuildDaySummary(db, day.year, day.month, day.day, values); !s) {
    return s;
  }
  if (Status s = db.flush(); !s) return s;
  return true;
}

PageStore::PageStore(database::WeatherDatabase& db, database::RainDatabase* rain,
                     const quantities::ValueContext& values, std::optional<DateTime> newest,
                     FirmwareFlags flags, const ConversionSettings& settings)
    : db_(db),
      rain_(rain != nullptr && rain->loaded() ? rain : nullptr),
      values_(values),
      mark_(newest),
      flags_(flags),
      settings_(settings),
      keeper_(db, values) {}

Status PageStore::start() { return keeper_.prime(); }

Status PageStore::storePage(std::span<const std::uint8_t, kStoredPageBytes> page, int firstSlot) {
  const std::size_t before = counts_.stored;
  Status failure;
  for (int slot = firstSlot; slot < kRecordsPerPage; ++slot) {
    ConsoleRecord record(page.data() + slot * kConsoleRecordBytes, kConsoleRecordBytes);
    auto when = consoleRecordTime(record);
    if (!when) {
      ++counts_.skipped;
      continue;
    }
    // The console's pages may also hold records the station has (the last page of a
    // full ring ends with the oldest ones); only later records count.
    if (mark_ && !later(*when, *mark_)) continue;
    auto converted = convertConsoleRecord(record, *when, flags_, settings_);
    if (!converted) {
      ++counts_.dropped;
      continue;
    }
    database::WeatherDataObject obj{*when, *converted};
    if (Status s = keeper_.beginRecord(obj); !s) {
      failure = s;
      break;
    }
    if (Status s = db_.AppendArchiveRecord(obj); !s) {
      failure = s;
      break;
    }
    keeper_.addRecord(obj);
    // The rain is counted only for a record that is in the database, so a failed
    // append can never leave rain.db ahead of the records.
    if (rain_ != nullptr) (void)rain_->AddArchiveRain(obj, values_);
    ++counts_.stored;
    mark_ = *when;
  }
  if (counts_.stored == before) return failure;
  // The records reach the disk with their day's summary before rain.db counts their
  // rain: a crash in between can lose one page's rain, never count rain twice.
  Status finished = keeper_.finish();
  if (failure.isOk()) failure = finished;
  if (Status s = db_.flush(); !s && failure.isOk()) failure = s;
  if (rain_ != nullptr && failure.isOk()) {
    if (Status s = rain_->saveStatus(); !s) failure = s;
  }
  return failure;
}

}  // namespace stationlink
