#include "link/download_store.h"

#include "database/daily_summary.h"
#include "database/rain_build.h"
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

PageStore::~PageStore() { (void)settle(); }

Status PageStore::start() {
  if (rain_ != nullptr) {
    // The months are set again from the summaries, so the newest day's must be whole.
    if (auto mended = mendNewestSummary(db_, values_); !mended) return mended.status();
    if (auto caught = database::catchUpRainDatabase(*rain_, db_); !caught) {
      return caught.status();
    }
  }
  return keeper_.prime();
}

Status PageStore::settle() {
  if (unsynced_.empty() && pagesSinceSync_ == 0) return Status::ok();
  if (Status s = db_.flush(); !s) return s;
  pagesSinceSync_ = 0;
  if (rain_ == nullptr || unsynced_.empty()) {
    unsynced_.clear();
    return Status::ok();
  }
  for (const database::WeatherDataObject& obj : unsynced_) {
    (void)rain_->AddArchiveRain(obj, values_);
  }
  unsynced_.clear();
  return rain_->saveStatus();
}

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
    // The rain is counted once the record is on disk, so neither a failed append nor a
    // crash can leave rain.db ahead of the records.
    if (rain_ != nullptr) unsynced_.push_back(obj);
    ++counts_.stored;
    mark_ = *when;
  }
  if (counts_.stored == before) return failure;
  // The records reach the disk with their day's summary before rain.db counts their
  // rain: a crash in between leaves rain.db behind, which the next start mends, and
  // never counts rain twice.
  Status finished = keeper_.finish();
  if (failure.isOk()) failure = finished;
  ++pagesSinceSync_;
  if (!failure.isOk()) {
    // What was stored before the failure still goes to disk; its rain only with it.
    (void)settle();
    return failure;
  }
  if (pagesSinceSync_ >= kPagesPerSync) return settle();
  return failure;
}

}  // namespace stationlink
