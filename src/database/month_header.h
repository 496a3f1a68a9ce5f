#pragma once

// The 212-byte header of a month file: record count and day index, decoded and checked
// against the file it came from.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "database/record_names.h"
#include "platform/status.h"

namespace database {

struct DayEntry {
  std::int16_t count = 0;  // records of the day, its two summary records included
  std::int32_t start = 0;  // record number of the day's first record
};

struct MonthHeader {
  // Bytes 0-15 (identification, zeros, versions) as found, written back unchanged.
  std::array<std::uint8_t, kHeaderRecordCountOffset> prefix{};
  std::int32_t recordCount = 0;
  std::array<DayEntry, kDayIndexEntries> days{};  // days[0] is unused

  // The header of a new file: identification and versions, all else zero.
  static MonthHeader fresh();
  static MonthHeader decode(std::span<const std::uint8_t, kHeaderBytes> bytes);
  HeaderBytes encode() const;

  // Checks that the header describes the file: each day with data has at least its two
  // summary records, the day blocks lie inside the whole records of `fileSize`, no two
  // overlap, and together they cover records 0..count-1 without a gap. Blocks may lie in
  // any order (a day appended late follows the days appended before it). Bytes beyond
  // the counted records (a torn append) are allowed: the next append overwrites them.
  // Returns kCorrupt with the reason otherwise.
  platform::Status validate(std::uint64_t fileSize) const;
  // A writer killed while it updated the header can leave a record count that disagrees
  // with day blocks that are themselves sound: records after the last block that no day
  // took, or a block whose records are whole in the file but not yet counted. When that
  // is all that is wrong, returns the header with the count set to the end of the
  // blocks, and in `what` what changed; otherwise (a sound header, or other damage)
  // nothing.
  std::optional<MonthHeader> mended(std::uint64_t fileSize, std::string* what) const;
  // kCorrupt when a day with data is not a day of the month (30 February).
  platform::Status checkDates(int year, int month) const;

  // The highest day with records, or 0 for a month without any.
  int lastDay() const;
  // The day whose block ends the counted records (the one an append may grow), or 0.
  int tailDay() const;
  // Days with records.
  int daysWithData() const;
  // The day whose block holds file record number `n`, or 0.
  int dayOfRecord(std::int64_t n) const;
};

}  // namespace database
