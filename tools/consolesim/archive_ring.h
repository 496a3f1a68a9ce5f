#pragma once

// The console's archive memory: a ring of 512 pages of five 52-byte records. Records are
// written one after another; when the ring is full the oldest record is overwritten, so the
// page holding the newest record may still hold the oldest ones after it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace consolesim {

constexpr std::size_t kArchivePages = 512;
constexpr std::size_t kRecordsPerPage = 5;
constexpr std::size_t kArchiveSlots = kArchivePages * kRecordsPerPage;
constexpr std::size_t kConsoleRecordBytes = 52;
constexpr std::size_t kPageRecordBytes = kRecordsPerPage * kConsoleRecordBytes;
constexpr std::size_t kPageBytes = 267;  // sequence, five records, 4 unused, CRC
static_assert(kPageRecordBytes == 260);
static_assert(1 + kPageRecordBytes + 4 + 2 == kPageBytes);

using ConsoleRecord = std::array<std::uint8_t, kConsoleRecordBytes>;

// What DMPAFT answers: the pages to send, starting at `startPage`, and the index of the
// first new record in the first of them.
struct DumpPlan {
  std::size_t startPage = 0;
  std::uint16_t pageCount = 0;
  std::uint16_t firstRecord = 0;
};

class ArchiveRing {
 public:
  ArchiveRing() { clear(); }

  // Empties every slot (all bytes 0xFF) and starts writing at slot 0 again.
  void clear();
  void append(const ConsoleRecord& record);

  std::size_t recordCount() const { return full_ ? kArchiveSlots : nextSlot_; }
  // The slot the next record goes into.
  std::size_t nextSlot() const { return nextSlot_; }
  // The 260 record bytes of page `page` (0 to 511).
  std::span<const std::uint8_t> pageRecords(std::size_t page) const;
  // The record in `slot`, in the order the console numbers them.
  std::span<const std::uint8_t> slot(std::size_t slot) const;

  // The pages holding every record stamped strictly after (dateStamp, timeStamp), oldest
  // first. Empty slots never match. When no record is newer the page count is 0.
  DumpPlan planDumpAfter(std::uint16_t dateStamp, std::uint16_t timeStamp) const;

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t nextSlot_ = 0;
  bool full_ = false;
};

}  // namespace consolesim
