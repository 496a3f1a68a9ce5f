#pragma once

// The 212-byte header of a month file: record count and day index, decoded and checked
// against the file it came from.

#include <array>
#include <cstdint>
#include <span>

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

  // Checks that the header describes the file: the counted records fit in `fileSize`,
  // and the days with data tile records 0..count-1 in day order without gaps or
  // overlaps, each starting with its two summary records (count 0 or at least 2).
  // Bytes beyond the counted records (a torn append) are allowed: the next append
  // overwrites them. Returns kCorrupt with the reason otherwise.
  platform::Status validate(std::uint64_t fileSize) const;

  // The highest day with records, or 0 for a month without any.
  int lastDay() const;
  // Days with records.
  int daysWithData() const;
  // The day whose block holds file record number `n`, or 0.
  int dayOfRecord(std::int64_t n) const;
};

}  // namespace database
