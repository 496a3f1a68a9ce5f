#include "database/month_file.h"

#include <atomic>
#include <bit>
#include <cstring>
#include <limits>
#include <optional>

#include "database/month_names.h"
#include "database/view_text.h"
#include "platform/string_table.h"

namespace database {

using platform::Result;
using platform::Status;

namespace {

constexpr int kReadOnlyStationText = 64300;

std::span<const std::byte> asBytes(std::span<const std::uint8_t> s) { return std::as_bytes(s); }

std::string_view baseName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

Result<std::unique_ptr<MonthFile>> MonthFile::open(platform::FileSystem& fs,
                                                   const std::string& path, bool readOnly) {
  auto file = fs.open(path, readOnly ? platform::OpenMode::kRead : platform::OpenMode::kReadWrite);
  if (!file) return file.status();
  return load(std::move(*file), path, false, readOnly);
}

Result<std::unique_ptr<MonthFile>> MonthFile::openOrCreate(platform::FileSystem& fs,
                                                           const std::string& path) {
  auto file = fs.open(path, platform::OpenMode::kReadWriteCreate);
  if (!file) return file.status();
  return load(std::move(*file), path, true, false);
}

Result<std::unique_ptr<MonthFile>> MonthFile::load(std::unique_ptr<platform::File> file,
                                                   const std::string& path, bool createWhenEmpty,
                                                   bool readOnly) {
  auto size = file->size();
  if (!size) return size.status();
  if (*size == 0 && createWhenEmpty) {
    // A new file, or one a crash left empty right after its creation: it holds nothing
    // that a fresh header could hide.
    MonthHeader fresh = MonthHeader::fresh();
    const HeaderBytes bytes = fresh.encode();
    if (Status s = file->writeAt(0, asBytes(bytes)); !s) return s;
    auto mf = std::unique_ptr<MonthFile>(new MonthFile(std::move(file), path, fresh, 0));
    mf->unsynced_ = true;
    return mf;
  }
  HeaderBytes bytes{};
  auto got = file->readAt(0, std::as_writable_bytes(std::span(bytes)));
  if (!got) return got.status();
  if (*got < kHeaderBytes) return Status::corrupt(path + ": " + viewText(64729));
  MonthHeader header = MonthHeader::decode(bytes);
  std::string repairs;
  if (Status s = header.validate(*size); !s) {
    std::optional<MonthHeader> mended = header.mended(*size, &repairs);
    if (!mended) return Status::corrupt(path + ": " + s.message());
    header = *mended;
    if (readOnly) {
      repairs = viewText(64761, {path, repairs});
    } else {
      const HeaderBytes fixed = header.encode();
      if (Status w = file->writeAt(0, asBytes(fixed)); !w) return w;
      if (Status w = file->sync(); !w) return w;
      repairs = path + ": " + repairs;
    }
  }
  if (auto name = parseMonthFileName(baseName(path))) {
    if (Status s = header.checkDates(name->year, name->month); !s) {
      return Status::corrupt(path + ": " + s.message());
    }
  }
  const std::uint64_t stray =
      *size > recordOffset(header.recordCount) ? *size - recordOffset(header.recordCount) : 0;
  auto mf = std::unique_ptr<MonthFile>(new MonthFile(std::move(file), path, header, stray));
  mf->repairs_ = std::move(repairs);
  mf->readOnly_ = readOnly;
  return mf;
}

Status MonthFile::refuseReadOnly() const {
  return Status::badArgument(path_ + ": " + platform::loadString(kReadOnlyStationText));
}

Status MonthFile::readRecords(std::int64_t first, std::span<RecordBytes> out) {
  if (first < 0 || first + static_cast<std::int64_t>(out.size()) > header_.recordCount) {
    return Status::badArgument(path_ + ": record " + std::to_string(first) +
                               " is outside the file");
  }
  if (out.empty()) return Status::ok();
  auto got = file_->readAt(recordOffset(first), std::as_writable_bytes(out));
  if (!got) return got.status();
  if (*got != out.size_bytes()) return Status::corrupt(path_ + ": short read");
  return Status::ok();
}

Status MonthFile::writeRecord(std::int64_t n, const RecordBytes& record) {
  if (n < 0 || n >= header_.recordCount) {
    return Status::badArgument(path_ + ": record " + std::to_string(n) + " is outside the file");
  }
  if (readOnly_) return refuseReadOnly();
  unsynced_ = true;
  return file_->writeAt(recordOffset(n), asBytes(record));
}

Status MonthFile::append(int day, std::span<const RecordBytes> records) {
  if (day < 1 || day >= static_cast<int>(kDayIndexEntries)) {
    return Status::badArgument(path_ + ": day " + std::to_string(day) + " out of range");
  }
  if (readOnly_) return refuseReadOnly();
  // A day's block is contiguous: records can join only the block that ends the file.
  // A new block starts there too, for a day after every day of the file, so that the
  // program itself keeps its days in day order.
  const int tail = header_.tailDay();
  if (header_.days[static_cast<std::size_t>(day)].count != 0) {
    if (day != tail) {
      return Status::badArgument(path_ + ": day " + std::to_string(day) +
                                 " does not end the file (day " + std::to_string(tail) + " does)");
    }
  } else if (day < header_.lastDay()) {
    return Status::badArgument(path_ + ": day " + std::to_string(day) +
                               " lies before the file's last day " +
                               std::to_string(header_.lastDay()));
  }
  MonthHeader next = header_;
  DayEntry& entry = next.days[static_cast<std::size_t>(day)];
  const auto added = static_cast<std::int64_t>(records.size());
  if (entry.count + added > std::numeric_limits<std::int16_t>::max() ||
      next.recordCount + added > std::numeric_limits<std::int32_t>::max()) {
    return Status::badArgument(path_ + ": day " + std::to_string(day) + " is full");
  }
  if (entry.count == 0) entry.start = next.recordCount;
  entry.count = static_cast<std::int16_t>(entry.count + added);
  const std::int64_t at = next.recordCount;
  next.recordCount = static_cast<std::int32_t>(next.recordCount + added);

  unsynced_ = true;
  // The records reach the file before the header admits them, so a crash between the
  // two writes leaves stray bytes after the counted records, never a count that runs
  // past them.
  std::vector<std::uint8_t> block;
  std::span<const std::uint8_t> bytes;
  if (records.size() == 1) {
    bytes = records[0];
  } else {
    block.reserve(records.size() * kRecordBytes);
    for (const auto& r : records) block.insert(block.end(), r.begin(), r.end());
    bytes = block;
  }
  if (Status s = file_->writeAt(recordOffset(at), asBytes(bytes)); !s) return s;
  if (auto mapped = file_->mappedPrefix(kHeaderBytes);
      mapped.size() == kHeaderBytes && std::endian::native == std::endian::little) {
    storeThroughMapping(mapped, next, day);
  } else if (Status s = file_->writeAt(0, asBytes(next.encode())); !s) {
    return s;
  }
  header_ = next;
  strayBytes_ = strayBytes_ > bytes.size() ? strayBytes_ - bytes.size() : 0;
  return Status::ok();
}

// Through the shared mapping the header costs a few stores instead of a system call per
// append. Only the fields that change are stored, each whole (a process is never killed
// in the middle of one store), in an order in which a process killed between any two
// leaves a header that open mends without losing a record: a new day's start first (not
// seen while its count is 0), then the day's count (an aligned 16-bit store: the block
// grows over records already in the file), then the record count, which open
// recomputes from the day blocks anyway. The release stores keep the compiler from
// reordering them.
void MonthFile::storeThroughMapping(std::span<std::byte> mapped, const MonthHeader& next, int day) {
  const std::size_t at = dayEntryOffset(day);
  const DayEntry& entry = next.days[static_cast<std::size_t>(day)];
  if (entry.start != header_.days[static_cast<std::size_t>(day)].start) {
    std::memcpy(mapped.data() + at + kDayEntryStartOffset, &entry.start, sizeof entry.start);
  }
  // The mapping is page aligned and both offsets are multiples of the field's width.
  static_assert(kDayEntryCountOffset == 0 && kHeaderRecordCountOffset % 4 == 0);
  static_assert(dayEntryOffset(1) % 2 == 0 && dayEntryOffset(2) % 2 == 0);
  std::atomic_ref<std::int16_t>(
      *reinterpret_cast<std::int16_t*>(mapped.data() + at + kDayEntryCountOffset))
      .store(entry.count, std::memory_order_release);
  std::atomic_ref<std::int32_t>(
      *reinterpret_cast<std::int32_t*>(mapped.data() + kHeaderRecordCountOffset))
      .store(next.recordCount, std::memory_order_release);
}

Status MonthFile::sync() {
  if (!unsynced_ || readOnly_) return Status::ok();
  if (Status s = file_->sync(); !s) return s;
  unsynced_ = false;
  return Status::ok();
}

std::string encodeMonthFile(const MonthHeader& header, std::span<const RecordBytes> records) {
  std::string out;
  out.reserve(kHeaderBytes + records.size() * kRecordBytes);
  const HeaderBytes h = header.encode();
  out.append(h.begin(), h.end());
  for (const auto& r : records) out.append(r.begin(), r.end());
  return out;
}

}  // namespace database
