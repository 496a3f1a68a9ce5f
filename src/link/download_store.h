#pragma once

// The station side of an archive download: what the database holds before the transfer
// (the newest record to continue after, the day's summary to continue) and the storing of
// each acknowledged page, with its day's summary and rain, durable before the next page.

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

class PageStore {
 public:
  // `rain` may be null; all must outlive the store. `newest` is the newest stored record:
  // only later records are stored.
  PageStore(database::WeatherDatabase& db, database::RainDatabase* rain,
            const quantities::ValueContext& values, std::optional<records::DateTime> newest,
            FirmwareFlags flags, const ConversionSettings& settings);

  // Takes up the newest stored day, so its summary stays complete. Call once, first.
  platform::Status start();
  // Converts and stores the records of one page from `firstSlot` on, then brings the
  // day's summary, rain.db and the month file to disk. On failure nothing after the
  // failed record is stored.
  platform::Status storePage(std::span<const std::uint8_t, kStoredPageBytes> page, int firstSlot);

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
};

}  // namespace stationlink
