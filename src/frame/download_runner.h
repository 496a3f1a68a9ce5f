#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/status.h"
#include "station/station_config.h"

namespace frame {

struct DownloadResult;

// One archive download as the frame asks for it.
struct DownloadRequest {
  // The station's record: its link settings, name and directory.
  station::StationConfig* config = nullptr;
  // Polled between pages: true when the run should stop (a termination signal).
  std::function<bool()> cancelled;
  // Told the pages done out of the page count after every good page (a terminal's
  // progress line); may be empty.
  std::function<void(int done, int total)> progress;
  // Told the status line after a page that has to be read again ("Transferidos ...
  // Reintentos: ..."), for a person watching; never logged. May be empty.
  std::function<void(const std::string& line)> retryStatus;
  // Logs the caller's own result line (the -d switch's, the schedule's); the download logs
  // the count of records stored after it. Empty: the download logs a result line itself.
  std::function<void(const DownloadResult& result)> logResult;
};

struct DownloadResult {
  // 0, or the link error code that ended the download (-4 CRC, -5 time-out, ...).
  int linkError = 0;
  // True when the download told the link error itself; the caller then logs only its own
  // result line.
  bool linkErrorReported = false;
  // Records appended to the database by this run.
  std::size_t recordsStored = 0;
  // Set when something other than the link failed (a database write, say).
  platform::Status status;

  bool ok() const { return linkError == 0 && status.isOk(); }
};

// The archive download. The frame calls it for the user's download, the schedule and
// the "-d" switch; the download code provides the real one, which logs the result line
// and then the count of records stored, once for every download.
class DownloadRunner {
 public:
  virtual ~DownloadRunner() = default;
  // REQUIRES: request.config != nullptr
  virtual DownloadResult download(const DownloadRequest& request) = 0;
};

}  // namespace frame
