#include "consolesim/archive_ring.h"

#include <algorithm>

#include "consolesim/wire.h"

namespace consolesim {

void ArchiveRing::clear() {
  bytes_.assign(kArchiveSlots * kConsoleRecordBytes, 0xFF);
  nextSlot_ = 0;
  full_ = false;
}

void ArchiveRing::append(const ConsoleRecord& record) {
  std::copy(record.begin(), record.end(), bytes_.begin() + nextSlot_ * kConsoleRecordBytes);
  if (++nextSlot_ == kArchiveSlots) {
    nextSlot_ = 0;
    full_ = true;
  }
}

std::span<const std::uint8_t> ArchiveRing::pageRecords(std::size_t page) const {
  return std::span<const std::uint8_t>(bytes_).subspan((page % kArchivePages) * kPageRecordBytes,
                                                       kPageRecordBytes);
}

std::span<const std::uint8_t> ArchiveRing::slot(std::size_t slot) const {
  return std::span<const std::uint8_t>(bytes_).subspan((slot % kArchiveSlots) * kConsoleRecordBytes,
                                                       kConsoleRecordBytes);
}

DumpPlan ArchiveRing::planDumpAfter(std::uint16_t dateStamp, std::uint16_t timeStamp) const {
  const std::size_t count = recordCount();
  if (count == 0) return {};
  const std::uint32_t after = (std::uint32_t{dateStamp} << 16) | timeStamp;
  const std::size_t oldest = full_ ? nextSlot_ : 0;
  const std::size_t newest = (nextSlot_ + kArchiveSlots - 1) % kArchiveSlots;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t s = (oldest + i) % kArchiveSlots;
    const auto rec = slot(s);
    const std::uint16_t date = getU16(rec, 0);
    const std::uint16_t time = getU16(rec, 2);
    if (date == 0xFFFF || time == 0xFFFF) continue;
    if (((std::uint32_t{date} << 16) | time) <= after) continue;
    DumpPlan plan;
    plan.startPage = s / kRecordsPerPage;
    plan.firstRecord = static_cast<std::uint16_t>(s % kRecordsPerPage);
    const std::size_t newestPage = newest / kRecordsPerPage;
    std::size_t pages = (newestPage + kArchivePages - plan.startPage) % kArchivePages + 1;
    // In a full ring the oldest records can sit behind the newest one in the same page.
    // Starting there means going once round the ring and sending that page twice.
    if (plan.startPage == newestPage && s > newest) pages += kArchivePages;
    plan.pageCount = static_cast<std::uint16_t>(pages);
    return plan;
  }
  return {};
}

}  // namespace consolesim
