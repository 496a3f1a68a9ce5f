#pragma once

// One archive download from a console of the newest family: preparation, the page
// transfer, and the conversion and storing of every new record, with the day's summary
// and the rain database kept current.
//
// Records reach the database strictly in time order and only once: the stamps sent to the
// console come from the newest stored record, a record is stored only when it is later
// than the last one stored, and a failed append ends the run with nothing stored after
// it. A run cut short anywhere leaves a database that the next run completes.

#include <cstddef>
#include <functional>

#include "database/rain_database.h"
#include "database/weather_database.h"
#include "frame/messages.h"
#include "link/archive_conversion.h"
#include "link/console_link.h"
#include "platform/status.h"
#include "quantities/record_values.h"
#include "station/station_config.h"

namespace stationlink {

struct DownloadContext {
  ConsoleLink* link = nullptr;
  database::WeatherDatabase* db = nullptr;
  database::RainDatabase* rain = nullptr;  // may be null; used when loaded
  station::StationConfig* config = nullptr;
  frame::Messages* messages = nullptr;
  const quantities::ValueContext* values = nullptr;
  // Real-time views download in quick mode: no model check, no wind-transmitter lookup.
  bool quickMode = false;
  // Polled between pages; true ends the run (ESC to the console).
  std::function<bool()> cancelled;
  // Pages done out of the page count, after every good page.
  std::function<void(int done, int total)> progress;
  // The solar model's estimate for offset 42 of each record (optional).
  std::function<std::int16_t(const records::DateTime&, int solar, float dewPointF)> solarEstimate;
};

struct DownloadOutcome {
  // Records appended (0 when there was nothing new), or -1 on failure or cancel.
  int result = -1;
  // The link error that ended the run, 0 when none did.
  int linkError = 0;
  std::size_t stored = 0;
  // Console slots skipped: empty, or stamped with an impossible date or time.
  std::size_t skipped = 0;
  // Records whose revision could not be told; not stored.
  std::size_t dropped = 0;
  int pages = 0;
  int retries = 0;  // failed page reads over the whole run
  bool cancelled = false;
  platform::Status status;

  bool ok() const { return result >= 0; }
};

// REQUIRES: every pointer of the context but `rain` is set.
DownloadOutcome Download(DownloadContext& ctx);

// The share of the console's 512-page archive that `pages` is, in whole percent (at most 100).
int archiveShare(int pages);

}  // namespace stationlink
