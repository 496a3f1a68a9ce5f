#pragma once

// The station side of an archive download: what the database holds before the transfer
// (the newest record to continue after, the day's summary to continue) and the storing of
// each acknowledged page with its day's summary. The month file is brought to disk every few
// pages, and only then is the rain of the records it holds counted in rain.db: a crash
// loses at most those few pages (the console still has them for the next download) and
// never leaves rain.db counting a record the station does not hold.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "database/rain_database.h"
#include "database/summary_keeper.h"
#include "database/weather_database.h"
#include "link/archive_conversion.h"
#include "platform/status.h"
#include "quantities/record_values.h"

namespace stationlink {

// The newest stored record whose date and time are real (time 0 to 1440); the records
// after it with a damaged date or time are added to `damaged`, newest first. Empty when
// the database holds no such record.
std::optional<records::DateTime> newestSoundRecord(database::WeatherDatabase& db,
                                                   std::vector<records::DateTime>& damaged);

// Stores the newest day's summary again when its minutes of data disagree with the day's
// records (a run killed while writing it). True when it was rewritten.
platform::Result<bool> mendNewestSummary(database::WeatherDatabase& db,
                                         const quantities::ValueContext& values);

struct PageCounts {
  std::size_t stored = 0;
  std::size_t skipped = 0;  // empty slots and impossible stamps
  std::size_t dropped = 0;  // records whose revision could not be told
};

// Pages stored between two syncs of the month file. Each sync costs a write of the whole
// month file's unsynced state; one every few pages keeps a page's storing far below the
// time its bytes take on the line.
inline constexpr int kPagesPerSync = 8;

class PageStore {
 public:
  // `rain` may be null; all must outlive the store. `newest` is the newest stored record:
  // only later records are stored.
  PageStore(database::WeatherDatabase& db, database::RainDatabase* rain,
            const quantities::ValueContext& values, std::optional<records::DateTime> newest,
            FirmwareFlags flags, const ConversionSettings& settings);

  // What is still waiting for its sync is settled; a failure then leaves rain.db behind
  // the records, which the next download's start mends.
  ~PageStore();
  PageStore(const PageStore&) = delete;
  PageStore& operator=(const PageStore&) = delete;

  // Brings rain.db up to the records a killed run left it behind, then takes up the newest
  // stored day, so its summary stays complete. Call once, first.
  platform::Status start();
  // Converts and stores the records of one page from `firstSlot` on with the day's
  // summary; every kPagesPerSync pages the month file goes to disk and rain.db then
  // counts the records it holds. On failure nothing after the failed record is stored.
  platform::Status storePage(std::span<const std::uint8_t, kStoredPageBytes> page, int firstSlot);
  // Brings the month file to disk, then counts the rain of the records stored since the
  // last sync and saves rain.db.
  platform::Status settle();

  const PageCounts& counts() const { return counts_; }

 private:
  database::WeatherDatabase& db_;
  database::RainDatabase* rain_;
  const quantities::ValueContext& values_;
  std::optional<records::DateTime> mark_;
  FirmwareFlags flags_;
  const ConversionSettings& settings_;
  database::DaySummaryKeeper keeper_;
  PageCounts counts_;
  std::vector<database::WeatherDataObject> unsynced_;  // stored, rain not yet counted
  int pagesSinceSync_ = 0;
};

}  // namespace stationlink
