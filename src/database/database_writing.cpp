// Appending and overwriting records.

#include <algorithm>
#include <array>
#include <cstdio>

#include "database/month_names.h"
#include "database/weather_database.h"

namespace database {

using platform::Status;

namespace {

std::string dateText(const DateTime& d) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
  return buf;
}

}  // namespace

Status WeatherDatabase::AppendArchiveRecord(const WeatherDataObject& obj) {
  if (obj.record.type() != kArchiveRecordType) {
    return Status::badArgument("record type " + std::to_string(obj.record.type()) +
                               " is not an archive record");
  }
  DateTime date = obj.date;
  // A record at 0:00 closes the previous day.
  if (date.minutes == 0) date.previousDay();
  const std::array<RecordBytes, 1> records{obj.record.bytes()};
  return appendRecords(date, records, false);
}

Status WeatherDatabase::appendRecords(const DateTime& date, std::span<const RecordBytes> records,
                                      bool startsDay) {
  if (!open_) return Status::badArgument("no station database is open");
  if (readOnly_) return refuseReadOnly();
  if (!isValidDate(date.year, date.month, date.day)) {
    return Status::badArgument(dateText(date) + " is not a calendar date");
  }
  int index = findMonth(date.year, date.month);
  if (index < 0) {
    if (!months_.empty() && std::pair{static_cast<int>(date.year), static_cast<int>(date.month)} <
                                std::pair{months_.back().year, months_.back().month}) {
      return Status::badArgument(dateText(date) +
                                 ": its month is missing and earlier than the last month");
    }
    if (!startsDay) return Status::badArgument(dateText(date) + " has no summary records yet");
    if (Status s = closeMonth(); !s) return s;
    const std::string path = platform::joinPath(dir_, monthFileName(date.year, date.month));
    auto file = MonthFile::openOrCreate(fs_, path);
    if (!file) return file.status();
    MonthEntry entry;
    entry.year = date.year;
    entry.month = date.month;
    entry.path = path;
    entry.header = (*file)->header();
    entry.firstFull = totalFull_;
    entry.summaryBefore = months_.empty() ? 0 : months_.back().summaryThrough();
    entry.days = entry.header.daysWithData();
    months_.push_back(std::move(entry));
    index = static_cast<int>(months_.size()) - 1;
    openFile_ = std::move(*file);
    openIndex_ = index;
  } else if (Status s = openMonth(index); !s) {
    return s;
  }

  const DayEntry& entry = openFile_->header().days[date.day];
  if (startsDay != (entry.count == 0)) {
    return Status::badArgument(dateText(date) + (startsDay ? " already has its summary records"
                                                           : " has no summary records yet"));
  }
  const bool hadArchive = NumberOfRecordsInDataBase() > 0;
  // Only records for the calendar's last day of the month can be counted on the spot;
  // a day appended after later days changes the numbers of the records after it.
  const bool calendarTail = date.day >= openFile_->header().lastDay();
  dropReadBuffer();
  if (Status s = openFile_->append(date.day, records); !s) return s;

  MonthEntry& month = months_[static_cast<std::size_t>(index)];
  month.header = openFile_->header();
  const bool last = index + 1 == static_cast<int>(months_.size()) && calendarTail;
  if (!last) {
    rebuildIndex();
  } else {
    totalFull_ += static_cast<std::int64_t>(records.size());
    if (startsDay) {
      ++month.days;
      days_.push_back(packDate(date.year, date.month, date.day));
    }
  }
  position_ = month.header.recordCount;
  currentDay_ = 0;
  sequential_ = false;

  if (!last) {
    refreshDates();
    return Status::ok();
  }
  lastDate_ = date;
  const RecordBytes& back = records.back();
  lastDate_.setMinutes(back[kArcType] == kArchiveRecordType
                           ? static_cast<std::uint16_t>(getI16(back, kArcTime))
                           : kNoTime);
  if (!hadArchive && NumberOfRecordsInDataBase() > 0) {
    firstDate_ = date;
    firstDate_.setMinutes(static_cast<std::uint16_t>(getI16(back, kArcTime)));
  }
  return Status::ok();
}

Status WeatherDatabase::overwrite(const Location& where, const RecordBytes& record) {
  if (readOnly_) return refuseReadOnly();
  if (Status s = openMonth(where.monthIndex); !s) return s;
  dropReadBuffer();
  if (Status s = openFile_->writeRecord(where.position, record); !s) return s;
  position_ = where.position + 1;
  currentDay_ = where.day;
  sequential_ = false;
  return Status::ok();
}

Status WeatherDatabase::EditArchiveRecord(const WeatherDataObject& obj, int archiveNumber) {
  Location where;
  if (!locateArchive(archiveNumber, where)) {
    return Status::badArgument("archive record " + std::to_string(archiveNumber) +
                               " is not in the database");
  }
  return overwrite(where, obj.record.bytes());
}

Status WeatherDatabase::EditSummaryRecord(const DailySummaryObject& summary) {
  if (summary.a.record.type() != kSummaryARecordType ||
      summary.b.record.type() != kSummaryBRecordType) {
    return Status::badArgument("the summary does not hold summary records A and B");
  }
  // Both halves belong to the day of half A; its time plays no part.
  const DateTime& date = summary.a.date;
  const int full = Goto(date.month, date.day, date.year);
  if (full == kResultNoData || full == kResultNoMonth) {
    // Both records go in one append, so the day index never shows half a pair.
    const std::array<RecordBytes, 2> pair{summary.a.record.bytes(), summary.b.record.bytes()};
    return appendRecords(date, pair, true);
  }
  if (full < 0) return Status::io("cannot position on " + dateText(date));
  Location where;
  if (!locateFull(full, where) || where.day != date.day) {
    return Status::corrupt(dateText(date) + ": day index disagrees with the month table");
  }
  WeatherDataObject current;
  for (int half = 0; half < kSummaryRecordsPerDay; ++half) {
    Location at = where;
    at.position += half;
    if (readAt(at, current) != kResultOk) return Status::io("cannot read " + dateText(date));
    const std::uint8_t want = half == 0 ? kSummaryARecordType : kSummaryBRecordType;
    if (current.record.type() != want) {
      return Status::corrupt(dateText(date) + ": the day does not start with its summary");
    }
    const Record88& record = half == 0 ? summary.a.record : summary.b.record;
    if (Status s = overwrite(at, record.bytes()); !s) return s;
  }
  return Status::ok();
}

int WeatherDatabase::GetDailySummary(DailySummaryObject& summary, int year, int month, int day) {
  summary = DailySummaryObject{};
  const int full = Goto(month, day, year);
  if (full < 0) return kResultFailed;
  Location where;
  if (!locateFull(full, where)) return kResultFailed;
  WeatherDataObject a;
  WeatherDataObject b;
  Location second = where;
  ++second.position;
  if (readAt(where, a) != kResultOk || a.record.type() != kSummaryARecordType) {
    return kResultFailed;
  }
  if (readAt(second, b) != kResultOk || b.record.type() != kSummaryBRecordType) {
    return kResultFailed;
  }
  summary.a.record = Record88(a.record.bytes());
  summary.b.record = Record88(b.record.bytes());
  summary.a.date = DateTime::fromDate(year, month, day, kNoTime);
  summary.b.date = summary.a.date;
  summary.state = kSummaryReady;
  return kResultOk;
}

int WeatherDatabase::GetDailySummaryIndex(DailySummaryObject& summary, int dayIndex) {
  if (dayIndex < 0 || dayIndex >= NumberOfDaysInDatabase()) return kResultBadArgument;
  const std::int32_t packed = days_[static_cast<std::size_t>(dayIndex)];
  return GetDailySummary(summary, packedYear(packed), packedMonth(packed), packedDay(packed));
}

}  // namespace database
