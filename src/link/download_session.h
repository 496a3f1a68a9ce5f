#pragma once

// One archive download from a console of the newest family: preparation, the page
// transfer, and the conversion and storing of every new record, with the day's summary
// and the rain database kept current.
//
// Records reach the database strictly in time order and only once: the stamps sent to the
// console come from the newest stored record, a record is stored only when it is later
// than the last one stored, and a failed append ends the run with nothing stored after
// it. Each page's records are stored, the day's summary and rain.db with them, as soon as
// the page is acknowledged, so a run cut short anywhere (a cancel, a dead line, a killed
// process) keeps every page it received and the next run continues after them.
//
// Nothing is converted on a guess: when the wind transmitter or the firmware date cannot
// be read (after the usual five tries), the run fails before anything is stored.

#include <cstddef>
#include <functional>
#include <string>

#include "database/rain_database.h"
#include "database/weather_database.h"
#include "link/archive_conversion.h"
#include "link/console_link.h"
#include "link/download_host.h"
#include "platform/status.h"
#include "quantities/record_values.h"
#include "station/station_config.h"

namespace stationlink {

struct DownloadContext {
  ConsoleLink* link = nullptr;
  database::WeatherDatabase* db = nullptr;
  database::RainDatabase* rain = nullptr;  // may be null; used when loaded
  station::StationConfig* config = nullptr;
  DownloadHost* host = nullptr;  // its questions, messages and log lines
  const quantities::ValueContext* values = nullptr;
  // Real-time views download in quick mode: no model check, no wind-transmitter lookup.
  bool quickMode = false;
  // Polled between pages; true ends the run (ESC to the console).
  std::function<bool()> cancelled;
  // Pages done out of the page count, after every good page.
  std::function<void(int done, int total)> progress;
  // The status line after a page that has to be read again:
  // "Transferidos %3d de %d. Reintentos: %2d  (%s)".
  std::function<void(const std::string& line)> retryStatus;
  // The solar model's estimate for offset 42 of each record (optional).
  std::function<std::int16_t(const records::DateTime&, int solar, float dewPointF)> solarEstimate;
};

struct DownloadOutcome {
  // Records appended (0 when there was nothing new), or -1 on failure or cancel.
  int result = -1;
  // The link error that ended the run, 0 when none did.
  int linkError = 0;
  // True when the run told the link error itself (shown, or logged while unattended), so
  // the caller does not tell it a second time.
  bool linkErrorReported = false;
  // Records appended by this run, also when it failed or was cancelled: every page
  // received before the end is kept.
  std::size_t stored = 0;
  // Console slots skipped: empty, or stamped with an impossible date or time.
  std::size_t skipped = 0;
  // Records whose revision could not be told; not stored.
  std::size_t dropped = 0;
  int pages = 0;
  int retries = 0;              // failed page reads over the whole run
  std::string lastRetryReason;  // the text of the last failed page read
  bool cancelled = false;
  platform::Status status;

  bool ok() const { return result >= 0; }
};

// REQUIRES: every pointer of the context but `rain` is set.
DownloadOutcome Download(DownloadContext& ctx);

// The share of the console's 512-page archive that `pages` is, in whole percent (at most 100).
int archiveShare(int pages);

}  // namespace stationlink
