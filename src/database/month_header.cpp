#include "database/month_header.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "database/view_text.h"

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

namespace {

// Checks the day blocks alone against the whole records of the file. On success `end`
// is one past the last record a block covers; gaps between blocks are kCorrupt.
platform::Status checkBlocks(const MonthHeader& h, std::uint64_t wholeRecords, std::int64_t& end) {
  using platform::Status;
  std::vector<std::pair<std::int64_t, int>> blocks;  // (start, day)
  for (int d = 1; d < static_cast<int>(kDayIndexEntries); ++d) {
    const DayEntry& e = h.days[static_cast<std::size_t>(d)];
    if (e.count == 0) continue;
    const std::string day = std::to_string(d);
    if (e.count < kSummaryRecordsPerDay) {
      return Status::corrupt(viewText(64726, {day, std::to_string(e.count)}));
    }
    if (e.start < 0 ||
        static_cast<std::uint64_t>(e.start) + static_cast<std::uint64_t>(e.count) > wholeRecords) {
      return Status::corrupt(viewText(64727, {day}));
    }
    blocks.emplace_back(e.start, d);
  }
  std::sort(blocks.begin(), blocks.end());
  std::int64_t next = 0;
  for (const auto& [start, d] : blocks) {
    if (start != next) {
      return Status::corrupt(viewText(64728, {std::to_string(d)}));
    }
    next = start + h.days[static_cast<std::size_t>(d)].count;
  }
  end = next;
  return Status::ok();
}

}  // namespace

platform::Status MonthHeader::validate(std::uint64_t fileSize) const {
  using platform::Status;
  if (fileSize < kHeaderBytes) return Status::corrupt(viewText(64729));
  if (recordCount < 0) return Status::corrupt(viewText(64730, {std::to_string(recordCount)}));
  const std::uint64_t held = (fileSize - kHeaderBytes) / kRecordBytes;
  if (static_cast<std::uint64_t>(recordCount) > held) {
    return Status::corrupt(viewText(64731, {std::to_string(recordCount), std::to_string(held)}));
  }
  std::int64_t end = 0;
  if (Status s = checkBlocks(*this, static_cast<std::uint64_t>(recordCount), end); !s) return s;
  if (end != recordCount) {
    return Status::corrupt(viewText(64732, {std::to_string(recordCount - end)}));
  }
  return Status::ok();
}

std::optional<MonthHeader> MonthHeader::mended(std::uint64_t fileSize, std::string* what) const {
  if (fileSize < kHeaderBytes || validate(fileSize)) return std::nullopt;
  const std::uint64_t held = (fileSize - kHeaderBytes) / kRecordBytes;
  std::int64_t end = 0;
  if (!checkBlocks(*this, held, end)) return std::nullopt;
  if (end == recordCount) return std::nullopt;
  MonthHeader h = *this;
  h.recordCount = static_cast<std::int32_t>(end);
  if (what != nullptr) {
    *what = viewText(64733, {std::to_string(recordCount), std::to_string(end)});
  }
  return h;
}

platform::Status MonthHeader::checkDates(int year, int month) const {
  for (int d = 1; d < static_cast<int>(kDayIndexEntries); ++d) {
    if (days[static_cast<std::size_t>(d)].count != 0 && !isValidDate(year, month, d)) {
      char buf[48];
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, d);
      return platform::Status::corrupt(viewText(64734, {buf}));
    }
  }
  return platform::Status::ok();
}

int MonthHeader::tailDay() const {
  for (int d = 1; d < static_cast<int>(kDayIndexEntries); ++d) {
    const DayEntry& e = days[static_cast<std::size_t>(d)];
    if (e.count > 0 && static_cast<std::int64_t>(e.start) + e.count == recordCount) return d;
  }
  return 0;
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
