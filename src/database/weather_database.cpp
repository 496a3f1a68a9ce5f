#include "database/weather_database.h"

#include <algorithm>

#include "database/month_names.h"
#include "database/view_text.h"
#include "platform/string_table.h"

namespace database {

using platform::Status;

namespace {

constexpr std::int64_t kReadBlockRecords = 1024;
constexpr int kReadOnlyStationText = 64300;

void putDate(const DateTime& dt, int* year, int* month, int* day, int* hour, int* minute) {
  if (year) *year = dt.year;
  if (month) *month = dt.month;
  if (day) *day = dt.day;
  if (hour) *hour = dt.hour;
  if (minute) *minute = dt.minute;
}

}  // namespace

WeatherDatabase::WeatherDatabase(platform::FileSystem& fs) : fs_(fs) {}

WeatherDatabase::~WeatherDatabase() { (void)close(); }

int WeatherDatabase::open(const std::string& directory) { return openStation(directory, false); }

int WeatherDatabase::openReadOnly(const std::string& directory) {
  return openStation(directory, true);
}

Status WeatherDatabase::refuseReadOnly() const {
  return Status::badArgument(dir_ + ": " + platform::loadString(kReadOnlyStationText));
}

int WeatherDatabase::openStation(const std::string& directory, bool readOnly) {
  (void)close();
  open_ = true;
  readOnly_ = readOnly;
  dir_ = directory;
  refreshDates();
  auto listing = listMonthFiles(fs_, directory);
  if (!listing) {
    problems_.push_back(listing.status().message());
    return kResultNoData;
  }
  problems_ = listing->ignored;
  if (listing->months.empty()) return kResultNoData;
  for (const MonthName& name : listing->months) {
    const std::string path = platform::joinPath(directory, name.fileName);
    auto file = MonthFile::open(fs_, path, readOnly);
    if (!file) {
      problems_.push_back(file.status().message());
      continue;
    }
    if (!(*file)->repairs().empty()) problems_.push_back((*file)->repairs());
    MonthEntry entry;
    entry.year = name.year;
    entry.month = name.month;
    entry.path = path;
    entry.header = (*file)->header();
    months_.push_back(std::move(entry));
  }
  rebuildIndex();
  refreshDates();
  return kResultOk;
}

Status WeatherDatabase::close() {
  Status s = closeMonth();
  open_ = false;
  readOnly_ = false;
  dir_.clear();
  problems_.clear();
  months_.clear();
  days_.clear();
  totalFull_ = 0;
  position_ = 0;
  currentDay_ = 0;
  sequential_ = false;
  currentDate_ = DateTime{};
  return s;
}

Status WeatherDatabase::flush() { return openFile_ ? openFile_->sync() : Status::ok(); }

int WeatherDatabase::NumberOfMonthsInDatabase() const { return static_cast<int>(months_.size()); }

int WeatherDatabase::NumberOfDaysInDatabase() const { return static_cast<int>(days_.size()); }

int WeatherDatabase::NumberOfRecordsInDataBase() const {
  if (months_.empty()) return 0;
  return static_cast<int>(totalFull_ - months_.back().summaryThrough());
}

int WeatherDatabase::MonthInfo(int i, int* year, int* month) const {
  if (i < 0 || i >= NumberOfMonthsInDatabase()) return kResultBadArgument;
  const MonthEntry& m = months_[static_cast<std::size_t>(i)];
  if (year) *year = m.year;
  if (month) *month = m.month;
  return kResultOk;
}

int WeatherDatabase::DayInfo(int i, int* year, int* month, int* day, int* count,
                             int* count2) const {
  if (i < 0 || i >= NumberOfDaysInDatabase()) return kResultBadArgument;
  const std::int32_t packed = days_[static_cast<std::size_t>(i)];
  int records = 0;
  const int m = findMonth(packedYear(packed), packedMonth(packed));
  if (m >= 0) {
    records = months_[static_cast<std::size_t>(m)]
                  .header.days[static_cast<std::size_t>(packedDay(packed))]
                  .count;
  }
  if (year) *year = packedYear(packed);
  if (month) *month = packedMonth(packed);
  if (day) *day = packedDay(packed);
  if (count) *count = records;
  if (count2) *count2 = records;
  return kResultOk;
}

int WeatherDatabase::GetFirstDate(int* year, int* month, int* day, int* hour, int* minute) const {
  putDate(firstDate_, year, month, day, hour, minute);
  return kResultOk;
}

int WeatherDatabase::GetLastDate(int* year, int* month, int* day, int* hour, int* minute) const {
  putDate(lastDate_, year, month, day, hour, minute);
  return kResultOk;
}

int WeatherDatabase::GetDateLastRead(int* year, int* month, int* day, int* hour,
                                     int* minute) const {
  putDate(currentDate_, year, month, day, hour, minute);
  return kResultOk;
}

int WeatherDatabase::findMonth(int year, int month) const {
  const auto it = std::lower_bound(months_.begin(), months_.end(), std::pair{year, month},
                                   [](const MonthEntry& e, std::pair<int, int> key) {
                                     return std::pair{e.year, e.month} < key;
                                   });
  if (it == months_.end() || it->year != year || it->month != month) return -1;
  return static_cast<int>(it - months_.begin());
}

Status WeatherDatabase::closeMonth() {
  dropReadBuffer();
  if (!openFile_) return Status::ok();
  Status s = openFile_->sync();
  openFile_.reset();
  openIndex_ = -1;
  return s;
}

Status WeatherDatabase::openMonth(int index) {
  if (index == openIndex_ && openFile_) return Status::ok();
  if (Status s = closeMonth(); !s) return s;
  MonthEntry& entry = months_[static_cast<std::size_t>(index)];
  auto file = MonthFile::open(fs_, entry.path, readOnly_);
  if (!file) return file.status();
  // The tables were built from this header; a file changed behind our back would make
  // every record number wrong, so it is not used until the station is opened again.
  if ((*file)->header().encode() != entry.header.encode()) {
    return Status::corrupt(viewText(64764, {entry.path}));
  }
  openFile_ = std::move(*file);
  openIndex_ = index;
  position_ = 0;
  currentDay_ = 0;
  return Status::ok();
}

Status WeatherDatabase::readFileRecord(std::int64_t position, RecordBytes& out) {
  if (position < bufFirst_ || position >= bufFirst_ + bufCount_) {
    const std::int64_t count =
        std::min<std::int64_t>(kReadBlockRecords, openFile_->header().recordCount - position);
    if (count <= 0) return Status::badArgument(viewText(64765));
    buf_.resize(static_cast<std::size_t>(kReadBlockRecords));
    bufCount_ = 0;
    if (Status s = openFile_->readRecords(position, std::span(buf_).first(count)); !s) return s;
    bufFirst_ = position;
    bufCount_ = count;
  }
  out = buf_[static_cast<std::size_t>(position - bufFirst_)];
  return Status::ok();
}

void WeatherDatabase::rebuildIndex() {
  days_.clear();
  std::int64_t full = 0;
  std::int64_t summaries = 0;
  for (MonthEntry& m : months_) {
    m.firstFull = full;
    m.summaryBefore = summaries;
    m.days = m.header.daysWithData();
    for (int d = 1; d < static_cast<int>(kDayIndexEntries); ++d) {
      if (m.header.days[static_cast<std::size_t>(d)].count > 0) {
        days_.push_back(packDate(m.year, m.month, d));
      }
    }
    full += m.count();
    summaries += kSummaryRecordsPerDay * m.days;
  }
  totalFull_ = full;
}

void WeatherDatabase::refreshDates() {
  firstDate_ = DateTime::fromDate(1900, 1, 1, 0);
  lastDate_ = firstDate_;
  WeatherDataObject obj;
  if (NumberOfRecordsInDataBase() > 0 && GetRecord(obj, 0) == kResultOk) firstDate_ = obj.date;
  // The last record is the last of the calendar's last day, wherever its block lies.
  if (!days_.empty()) {
    const std::int32_t last = days_.back();
    const int m = findMonth(packedYear(last), packedMonth(last));
    if (m >= 0) {
      const MonthEntry& e = months_[static_cast<std::size_t>(m)];
      const DayEntry& d = e.header.days[static_cast<std::size_t>(packedDay(last))];
      if (readFullRecord(e.firstFull + d.start + d.count - 1, obj) == kResultOk) {
        lastDate_ = obj.date;
      }
    }
  }
}

void WeatherDatabase::setCurrentDate(int day, const RecordBytes& record, bool sequential) {
  const MonthEntry& m = months_[static_cast<std::size_t>(openIndex_)];
  currentDay_ = day;
  currentDate_.setDate(m.year, m.month, day);
  if (record[kArcType] == kArchiveRecordType) {
    const auto minutes = static_cast<std::uint16_t>(getI16(record, kArcTime));
    if (sequential && minutes == kMinutesPerDay) {
      currentDate_.nextDay();
      currentDate_.setMinutes(0);
    } else {
      currentDate_.setMinutes(minutes);
    }
  } else {
    currentDate_.setMinutes(sequential ? 0 : kNoTime);
  }
}

bool WeatherDatabase::locateArchive(std::int64_t n, Location& where) const {
  if (n < 0 || n >= NumberOfRecordsInDataBase()) return false;
  // Archive ranges of consecutive months are contiguous, so the month holding n is the
  // last one with archive records that starts at or before n.
  auto it =
      std::upper_bound(months_.begin(), months_.end(), n,
                       [](std::int64_t v, const MonthEntry& e) { return v < e.archiveFirst(); });
  while (it != months_.begin()) {
    --it;
    if (it->archiveCount() > 0) break;
  }
  if (it->archiveCount() <= 0 || n < it->archiveFirst() ||
      n >= it->archiveFirst() + it->archiveCount()) {
    return false;
  }
  // Archive records are numbered day by day in calendar order, whatever order the days'
  // blocks lie in within the file.
  const std::int64_t local = n - it->archiveFirst();
  std::int64_t before = 0;
  for (int d = 1; d < static_cast<int>(kDayIndexEntries); ++d) {
    const DayEntry& e = it->header.days[static_cast<std::size_t>(d)];
    if (e.count <= 0) continue;
    const std::int64_t archives = e.count - kSummaryRecordsPerDay;
    if (local < before + archives) {
      const std::int64_t position = e.start + kSummaryRecordsPerDay + (local - before);
      where = Location{static_cast<int>(it - months_.begin()), position, d};
      return true;
    }
    before += archives;
  }
  return false;
}

bool WeatherDatabase::locateFull(std::int64_t n, Location& where) const {
  if (n < 0 || n >= totalFull_) return false;
  auto it = std::upper_bound(months_.begin(), months_.end(), n,
                             [](std::int64_t v, const MonthEntry& e) { return v < e.firstFull; });
  while (it != months_.begin()) {
    --it;
    if (it->count() > 0) break;
  }
  const std::int64_t position = n - it->firstFull;
  if (position < 0 || position >= it->count()) return false;
  const int day = it->header.dayOfRecord(position);
  if (day == 0) return false;
  where = Location{static_cast<int>(it - months_.begin()), position, day};
  return true;
}

std::int64_t WeatherDatabase::archiveNumberOfFull(std::int64_t n) const {
  Location where;
  if (!locateFull(n, where)) return -1;
  const MonthEntry& m = months_[static_cast<std::size_t>(where.monthIndex)];
  std::int64_t before = 0;
  for (int d = 1; d < where.day; ++d) {
    const DayEntry& e = m.header.days[static_cast<std::size_t>(d)];
    if (e.count > 0) before += e.count - kSummaryRecordsPerDay;
  }
  const std::int64_t firstArchive =
      m.header.days[static_cast<std::size_t>(where.day)].start + kSummaryRecordsPerDay;
  return m.archiveFirst() + before + std::max<std::int64_t>(where.position - firstArchive, 0);
}

}  // namespace database
