#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/intl_settings.h"
#include "platform/status.h"

namespace frame {

inline constexpr std::string_view kEventLogFileName = "download.log";
inline constexpr std::string_view kEventLogTempFileName = "download.tmp";
// Older lines are copied in pieces of at most this many bytes (the line feed included),
// and at most kEventLogMaxPieces of them follow the newest line.
inline constexpr std::size_t kEventLogPieceBytes = 255;
inline constexpr std::size_t kEventLogMaxPieces = 5000;
// Texts from outside (module texts, server replies) are cut to these lengths so one bad
// caller cannot blow up the log.
inline constexpr std::size_t kEventLogMaxMessageBytes = 1024;
inline constexpr std::size_t kEventLogMaxSourceBytes = 260;

// The short date and the time of day of a log line, as the unit layer writes them for a
// DateTime in the user's conventions.
std::string formatLogDate(const platform::CivilTime& t, const platform::IntlSettings& style);
std::string formatLogTime(const platform::CivilTime& t, const platform::IntlSettings& style);

// One line as written: " date time message" or " date time (source) message". The source
// is left out when it occurs in the message (an empty source always does). Line breaks
// in message and source become spaces, and both are cut to the limits above at a UTF-8
// character boundary; the message is data, never a format.
std::string buildLogLine(std::string_view date, std::string_view time, std::string_view message,
                         std::string_view source);

// How a line reached the disk.
enum class LogWriteOutcome {
  kWritten,        // download.log holds the new line first
  kSavedAsBackup,  // download.log could not be replaced; the history went to LogBackup*.log
};

// The program-wide event log, download.log in the program directory: the newest line
// first, then at most 5000 pieces of the older lines. One writer (the program's thread).
class EventLog {
 public:
  EventLog(platform::FileSystem& files, platform::Clock& clock, std::string programDirectory,
           platform::IntlSettings style = {});

  void setDateStyle(const platform::IntlSettings& style) { style_ = style; }
  void setProgramDirectory(std::string dir) { directory_ = std::move(dir); }
  // Where every line is also written as it is logged, one line each (standard error of a
  // program without a terminal, so the service's journal holds the log); null: nowhere.
  void setJournal(std::ostream* journal) { journal_ = journal; }

  // Writes one line at the current local time. The new log is built in download.tmp,
  // synced, and renamed over download.log in one step, so download.log always holds the
  // whole old or the whole new history. The journal gets the line first: it holds it
  // even when the disk refuses it.
  //
  // Failures:
  //   kIo, code -1: neither file could be written or the old log could not be read; the
  //     old download.log is untouched (a partial download.tmp may remain).
  //   kBusy, code kBackupFailedCode: the rename and the backup rename both failed; the
  //     old download.log is untouched and the new history stays in download.tmp.
  platform::Result<LogWriteOutcome> append(std::string_view message, std::string_view source);

  // The lines of download.log, newest first, at most `maxLines` of them (0: all).
  // CRLF is accepted. kNotFound when there is no log yet.
  platform::Result<std::vector<std::string>> readLines(std::size_t maxLines = 0) const;

  std::string logPath() const;
  std::string tempPath() const;

  static constexpr int kBackupFailedCode = -2;

 private:
  platform::Status writeTemp(const std::string& line);
  platform::Result<LogWriteOutcome> replaceLog();

  platform::FileSystem& files_;
  platform::Clock& clock_;
  std::string directory_;
  platform::IntlSettings style_;
  std::ostream* journal_ = nullptr;
};

}  // namespace frame
