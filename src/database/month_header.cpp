#include "database/month_header.h"

#include <algorithm>
#include <string>

namespace database {

MonthHeader MonthHeader::fresh() {
  MonthHeader h;
  std::copy(kIdentification.begin(), kIdentification.end(), h.prefix.begin());
  h.prefix[kHeaderMajorVersionOffset] = kMajorVersion;
  h.prefix[kHeaderMinorVersionOffset] = kMinorVersion;
  return h;
}

MonthHeader MonthHeader::decode(std::span<const std::uint8_t, kHeaderBytes> bytes) {
  MonthHeader h;
  std::copy_n(bytes.begin(), h.prefix.size(), h.prefix.begin());
  h.recordCount = getI32(bytes, kHeaderRecordCountOffset);
  for (int d = 0; d < static_cast<int>(kDayIndexEntries); ++d) {
    const std::size_t at = dayEntryOffset(d);
    h.days[static_cast<std::size_t>(d)].count = getI16(bytes, at + kDayEntryCountOffset);
    h.days[static_cast<std::size_t>(d)].start = getI32(bytes, at + kDayEntryStartOffset);
  }
  return h;
}

HeaderBytes MonthHeader::encode() const {
  HeaderBytes out{};
  std::copy(prefix.begin(), prefix.end(), out.begin());
  setI32(out, kHeaderRecordCountOffset, recordCount);
  for (int d = 0; d < static_cast<int>(kDayIndexEntries); ++d) {
    const std::size_t at = dayEntryOffset(d);
    setI16(out, at + kDayEntryCountOffset, days[static_cast<std::size_t>(d)].count);
    setI32(out, at + kDayEntryStartOffset, days[static_cast<std::size_t>(d)].start);
  }
  return out;
}

platform::Status MonthHeader::validate(std::uint64_t fileSize) const {
  using platform::Status;
  if (fileSize < kHeaderBytes) return Status::corrupt("header shorter than 212 bytes");
  if (recordCount < 0) {
    return Status::corrupt("negative record count " + std::to_string(recordCount));
  }
  const std::uint64_t held = (fileSize - kHeaderBytes) / kRecordBytes;
  if (static_cast<std::uint64_t>(recordCount) > held) {
    return Status::corrupt("header counts " + std::to_string(recordCount) +
                           " records but the file holds " + std::to_string(held));
  }
  std::int64_t next = 0;
  for (int d = 1; d < static_cast<int>(kDayIndexEntries); ++d) {
    const DayEntry& e = days[static_cast<std::size_t>(d)];
    if (e.count == 0) continue;
    const std::string day = "day " + std::to_string(d);
    if (e.count < kSummaryRecordsPerDay) {
      return Status::corrupt(day + " has " + std::to_string(e.count) +
                             " records, fewer than its two summary records");
    }
    if (e.start < 0 || static_cast<std::int64_t>(e.start) + e.count > recordCount) {
      return Status::corrupt(day + " points outside the file");
    }
    if (e.start != next) return Status::corrupt(day + " overlaps or leaves a gap");
    next = static_cast<std::int64_t>(e.start) + e.count;
  }
  if (next != recordCount) {
    return Status::corrupt(std::to_string(recordCount - next) + " records belong to no day");
  }
  return Status::ok();
}

int MonthHeader::lastDay() const {
  for (int d = static_cast<int>(kDayIndexEntries) - 1; d >= 1; --d) {
    if (days[static_cast<std::size_t>(d)].count > 0) return d;
  }
  return 0;
}

int MonthHeader::daysWithData() const {
  return static_cast<int>(
      std::count_if(days.begin() + 1, days.end(), [](const DayEntry& e) { return e.count > 0; }));
}

int MonthHeader::dayOfRecord(std::int64_t n) const {
  for (int d = 1; d < static_cast<int>(kDayIndexEntries); ++d) {
    const DayEntry& e = days[static_cast<std::size_t>(d)];
    if (e.count > 0 && n >= e.start && n < static_cast<std::int64_t>(e.start) + e.count) return d;
  }
  return 0;
}

}  // namespace database
