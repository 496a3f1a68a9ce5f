// Deleting records, days and months. A month file is rewritten whole through an atomic
// replacement, so a crash during a delete leaves either the old file or the new one,
// never records half moved down.

#include <algorithm>
#include <vector>

#include "database/weather_database.h"

namespace database {

using platform::Status;

Status WeatherDatabase::removeRecords(int monthIndex, std::int64_t first, int count, int day,
                                      bool wholeDay) {
  if (readOnly_) return refuseReadOnly();
  if (Status s = closeMonth(); !s) return s;
  MonthEntry& month = months_[static_cast<std::size_t>(monthIndex)];
  auto file = MonthFile::open(fs_, month.path);
  if (!file) return file.status();
  MonthHeader header = (*file)->header();
  std::vector<RecordBytes> records(static_cast<std::size_t>(header.recordCount));
  if (Status s = (*file)->readRecords(0, records); !s) return s;
  file->reset();

  records.erase(records.begin() + first, records.begin() + first + count);
  header.recordCount -= count;
  for (int d = 1; d < static_cast<int>(kDayIndexEntries); ++d) {
    DayEntry& e = header.days[static_cast<std::size_t>(d)];
    if (e.count > 0 && e.start > first) e.start -= count;
  }
  DayEntry& entry = header.days[static_cast<std::size_t>(day)];
  if (wholeDay) {
    entry = DayEntry{};
  } else {
    entry.count = static_cast<std::int16_t>(entry.count - count);
  }

  if (header.recordCount == 0) return deleteMonth(month.year, month.month);
  if (Status s = fs_.replaceFileAtomically(month.path, encodeMonthFile(header, records)); !s) {
    return s;
  }
  month.header = header;
  rebuildIndex();
  refreshDates();
  return Status::ok();
}

Status WeatherDatabase::deleteRecord(int archiveNumber) {
  Location where;
  if (!locateArchive(archiveNumber, where)) {
    return Status::notFound("archive record " + std::to_string(archiveNumber) +
                            " is not in the database");
  }
  const DayEntry& e = months_[static_cast<std::size_t>(where.monthIndex)]
                          .header.days[static_cast<std::size_t>(where.day)];
  // A day keeps its summary records only while it holds an archive record.
  if (e.count < kSummaryRecordsPerDay + 2) {
    return removeRecords(where.monthIndex, e.start, e.count, where.day, true);
  }
  return removeRecords(where.monthIndex, where.position, 1, where.day, false);
}

Status WeatherDatabase::deleteDay(int month, int day, int year) {
  const int index = findMonth(year, month);
  if (index < 0) return Status::notFound("the month is not in the database");
  if (day < 1 || day >= static_cast<int>(kDayIndexEntries)) {
    return Status::badArgument("day " + std::to_string(day) + " out of range");
  }
  const DayEntry e =
      months_[static_cast<std::size_t>(index)].header.days[static_cast<std::size_t>(day)];
  if (e.count <= 0) return Status::notFound("the day has no records");
  return removeRecords(index, e.start, e.count, day, true);
}

Status WeatherDatabase::deleteMonth(int year, int month) {
  const int index = findMonth(year, month);
  if (index < 0) return Status::notFound("the month is not in the database");
  if (readOnly_) return refuseReadOnly();
  if (Status s = closeMonth(); !s) return s;
  const std::string path = months_[static_cast<std::size_t>(index)].path;
  if (Status s = fs_.removeFile(path); !s) return s;
  months_.erase(months_.begin() + index);
  rebuildIndex();
  refreshDates();
  return Status::ok();
}

Status WeatherDatabase::deleteYear(int year) {
  std::vector<int> monthsOfYear;
  for (const MonthEntry& m : months_) {
    if (m.year == year) monthsOfYear.push_back(m.month);
  }
  for (int month : monthsOfYear) {
    if (Status s = deleteMonth(year, month); !s) return s;
  }
  return Status::ok();
}

}  // namespace database
