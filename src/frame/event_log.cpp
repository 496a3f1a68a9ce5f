#include "frame/event_log.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <ostream>

#include "quantities/date_text.h"
#include "records/month_format.h"

namespace frame {

namespace {

using platform::Result;
using platform::Status;

constexpr std::size_t kReadChunkBytes = 64 * 1024;
constexpr int kBackupAttempts = 100;

std::span<const std::byte> asBytes(std::string_view s) {
  return std::as_bytes(std::span(s.data(), s.size()));
}

// Cuts `text` to at most `limit` bytes without splitting a UTF-8 character.
std::string_view cutAtCharacter(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

// A line break inside a message would split one entry into two lines and let a module or
// a server reply forge entries of its own.
std::string oneLine(std::string_view text, std::size_t limit) {
  std::string out(cutAtCharacter(text, limit));
  for (char& c : out) {
    if (c == '\n' || c == '\r' || c == '\0') c = ' ';
  }
  return out;
}

}  // namespace

std::string formatLogDate(const platform::CivilTime& t, const platform::IntlSettings& style) {
  return quantities::shortDateText(records::DateTime::fromDate(t.year, t.month, t.day), style);
}

std::string formatLogTime(const platform::CivilTime& t, const platform::IntlSettings& style) {
  const auto minutes = static_cast<std::uint16_t>(t.hour * 60 + t.minute);
  return quantities::timeText(records::DateTime::fromDate(t.year, t.month, t.day, minutes), style);
}

std::string buildLogLine(std::string_view date, std::string_view time, std::string_view message,
                         std::string_view source) {
  const std::string text = oneLine(message, kEventLogMaxMessageBytes);
  const std::string from = oneLine(source, kEventLogMaxSourceBytes);
  std::string line;
  line.reserve(date.size() + time.size() + from.size() + text.size() + 8);
  line += ' ';
  line += date;
  line += ' ';
  line += time;
  line += ' ';
  if (text.find(from) == std::string::npos) {
    line += '(';
    line += from;
    line += ") ";
  }
  line += text;
  line += '\n';
  return line;
}

EventLog::EventLog(platform::FileSystem& files, platform::Clock& clock,
                   std::string programDirectory, platform::IntlSettings style)
    : files_(files), clock_(clock), directory_(std::move(programDirectory)), style_(style) {}

std::string EventLog::logPath() const { return platform::joinPath(directory_, kEventLogFileName); }

std::string EventLog::tempPath() const {
  return platform::joinPath(directory_, kEventLogTempFileName);
}

Result<LogWriteOutcome> EventLog::append(std::string_view message, std::string_view source) {
  const platform::CivilTime now = clock_.localNow();
  const std::string line =
      buildLogLine(formatLogDate(now, style_), formatLogTime(now, style_), message, source);
  if (journal_ != nullptr) *journal_ << line << std::flush;
  if (Status s = writeTemp(line); !s.isOk()) return s;
  return replaceLog();
}

// download.tmp gets the new line, then the older history piece by piece. A piece ends at
// a line feed or after kEventLogPieceBytes bytes, so a very long line uses up several of
// the 5000 pieces; the cap keeps the log from growing without end.
Status EventLog::writeTemp(const std::string& line) {
  auto opened = files_.open(tempPath(), platform::OpenMode::kTruncate);
  if (!opened) return Status(platform::Errc::kIo, opened.status().message(), -1);
  platform::File& temp = **opened;
  auto failed = [](const Status& s) { return Status(platform::Errc::kIo, s.message(), -1); };
  // The new line goes first, so that it survives in download.tmp even when the old log
  // turns out to be unreadable.
  if (Status s = temp.writeAt(0, asBytes(line)); !s.isOk()) return failed(s);

  std::string history;
  auto old = files_.open(logPath(), platform::OpenMode::kRead);
  if (old) {
    auto size = (*old)->size();
    if (!size) return failed(size.status());
    std::string chunk;
    std::uint64_t offset = 0;
    std::size_t pieces = 0;
    std::size_t pieceLength = 0;
    bool pendingCr = false;
    while (pieces < kEventLogMaxPieces && offset < *size) {
      chunk.resize(
          static_cast<std::size_t>(std::min<std::uint64_t>(kReadChunkBytes, *size - offset)));
      auto n = (*old)->readAt(offset, std::as_writable_bytes(std::span(chunk)));
      if (!n) return failed(n.status());
      if (*n == 0) break;
      offset += *n;
      for (std::size_t i = 0; i < *n && pieces < kEventLogMaxPieces; ++i) {
        const char c = chunk[i];
        // CRLF from an older log is written back as LF; the CR still counts in the piece.
        if (pendingCr && c != '\n') history += '\r';
        pendingCr = (c == '\r');
        if (!pendingCr) history += c;
        if (c == '\n' || ++pieceLength == kEventLogPieceBytes) {
          ++pieces;
          pieceLength = 0;
        }
      }
    }
    if (pendingCr) history += '\r';
    // Every line of the log ends with a line feed, also one cut off by the cap.
    if (!history.empty() && history.back() != '\n') history += '\n';
  } else if (old.status().kind() != platform::Errc::kNotFound) {
    return failed(old.status());
  }

  if (Status s = temp.writeAt(line.size(), asBytes(history)); !s.isOk()) return failed(s);
  if (Status s = temp.sync(); !s.isOk()) return failed(s);
  return Status::ok();
}

// rename() replaces download.log in one step: there is never a moment when the history
// lives only in download.tmp. When it fails (the directory changed under us, a file
// system that refuses), it is tried once more, and then the new history is kept under a
// fresh backup name rather than lost.
Result<LogWriteOutcome> EventLog::replaceLog() {
  if (files_.rename(tempPath(), logPath()).isOk()) return LogWriteOutcome::kWritten;
  clock_.sleepFor(std::chrono::milliseconds(10));
  if (files_.rename(tempPath(), logPath()).isOk()) return LogWriteOutcome::kWritten;
  clock_.sleepFor(std::chrono::milliseconds(10));

  const auto seed = static_cast<unsigned long>(clock_.wallNow().time_since_epoch().count());
  for (int attempt = 0; attempt < kBackupAttempts; ++attempt) {
    std::array<char, 32> name{};
    std::snprintf(name.data(), name.size(), "LogBackup%07lu.log", (seed + attempt) % 10000000UL);
    const std::string backup = platform::joinPath(directory_, name.data());
    if (files_.exists(backup)) continue;
    if (files_.rename(tempPath(), backup).isOk()) return LogWriteOutcome::kSavedAsBackup;
    break;
  }
  return Status(platform::Errc::kBusy, "Unable to create backup log file", kBackupFailedCode);
}

Result<std::vector<std::string>> EventLog::readLines(std::size_t maxLines) const {
  auto bytes = files_.readFile(logPath());
  if (!bytes) return bytes.status();
  std::vector<std::string> lines;
  std::string_view rest = *bytes;
  while (!rest.empty() && (maxLines == 0 || lines.size() < maxLines)) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace frame
