#pragma once

// One open month file: its header and the records behind it. The header on disk is
// rewritten after every append, so it never lags the records: a crash loses at most
// the record being written. Nothing is synced per append; sync() ends a run of appends.
// The header is brought up to date so that a process killed at any instant leaves a
// header that open() mends without losing a record (see storeThroughMapping).

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "database/month_header.h"
#include "platform/file_system.h"

namespace database {

class MonthFile {
 public:
  // Opens an existing month file and checks its header against its size (and, when the
  // file has a month file's name, its days against the calendar). A count that a killed
  // writer left out of step with sound day blocks is mended (MonthHeader::mended): in
  // the file when it is open for writing, else in memory only; repairs() says what was
  // done. kCorrupt (never rewritten) for any other header that does not describe the
  // file. A read-only file refuses every write with kBadArgument.
  static platform::Result<std::unique_ptr<MonthFile>> open(platform::FileSystem& fs,
                                                           const std::string& path,
                                                           bool readOnly = false);
  // As open(), but a missing or empty file gets a fresh header (created with owner
  // read and write permission). A file that is neither empty nor valid is refused.
  static platform::Result<std::unique_ptr<MonthFile>> openOrCreate(platform::FileSystem& fs,
                                                                   const std::string& path);

  const MonthHeader& header() const { return header_; }
  const std::string& path() const { return path_; }
  // Bytes after the counted records, left by an append that never reached the header.
  std::uint64_t strayBytes() const { return strayBytes_; }
  // What open() mended, empty when nothing.
  const std::string& repairs() const { return repairs_; }
  bool readOnly() const { return readOnly_; }

  // Reads records first..first+out.size()-1. REQUIRES nothing: a range outside the
  // counted records is refused with kBadArgument, a short read is kCorrupt.
  platform::Status readRecords(std::int64_t first, std::span<RecordBytes> out);
  // Overwrites counted record n in place; counts do not change.
  platform::Status writeRecord(std::int64_t n, const RecordBytes& record);
  // Appends records to `day` at the end of the file, then rewrites the header. The day
  // must be the one whose block ends the file, or a day without a block yet (its block
  // starts at the end). Nothing in memory changes when a write fails.
  platform::Status append(int day, std::span<const RecordBytes> records);
  // Brings what was written to stable storage.
  platform::Status sync();
  // True when something was written since the last sync.
  bool unsynced() const { return unsynced_; }

 private:
  MonthFile(std::unique_ptr<platform::File> file, std::string path, MonthHeader header,
            std::uint64_t strayBytes)
      : file_(std::move(file)), path_(std::move(path)), header_(header), strayBytes_(strayBytes) {}

  static platform::Result<std::unique_ptr<MonthFile>> load(std::unique_ptr<platform::File> file,
                                                           const std::string& path,
                                                           bool createWhenEmpty, bool readOnly);
  platform::Status refuseReadOnly() const;
  void storeThroughMapping(std::span<std::byte> mapped, const MonthHeader& next, int day);

  std::unique_ptr<platform::File> file_;
  std::string path_;
  MonthHeader header_;
  std::uint64_t strayBytes_ = 0;
  std::string repairs_;
  bool readOnly_ = false;
  bool unsynced_ = false;
};

// Builds a complete month file image (header and records) for a rewrite.
std::string encodeMonthFile(const MonthHeader& header, std::span<const RecordBytes> records);

}  // namespace database
