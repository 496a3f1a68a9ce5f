// Positioning on days and reading records.

#include <algorithm>
#include <cmath>

#include "database/weather_database.h"

namespace database {

namespace {

// Days from 1 March of year 0; only differences are used.
std::int64_t dayNumber(int year, int month, int day) {
  const int y = month <= 2 ? year - 1 : year;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int mp = (month + 9) % 12;
  const int doy = (153 * mp + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<std::int64_t>(era) * 146097 + doe;
}

}  // namespace

int WeatherDatabase::Goto(int month, int day, int year) {
  sequential_ = false;
  const int index = findMonth(year, month);
  if (index < 0) return kResultNoMonth;
  if (!openMonth(index)) return kResultFailed;
  if (day < 1 || day >= static_cast<int>(kDayIndexEntries)) return kResultNoData;
  const DayEntry& entry = openFile_->header().days[static_cast<std::size_t>(day)];
  if (entry.count <= 0) return kResultNoData;
  position_ = entry.start;
  currentDay_ = day;
  return static_cast<int>(months_[static_cast<std::size_t>(index)].firstFull + entry.start);
}

int WeatherDatabase::GotoDay(int month, int day, int year) {
  const int r = Goto(month, day, year);
  if (r < 0) return r;
  return openFile_->header().days[static_cast<std::size_t>(day)].count;
}

int WeatherDatabase::readAt(const Location& where, WeatherDataObject& obj) {
  if (!openMonth(where.monthIndex)) return kResultFailed;
  RecordBytes bytes;
  if (!readFileRecord(where.position, bytes)) return kResultFailed;
  position_ = where.position + 1;
  sequential_ = false;
  setCurrentDate(where.day, bytes, false);
  obj.record = ArchiveRecord(bytes);
  obj.date = currentDate_;
  return kResultOk;
}

int WeatherDatabase::GetRecord(WeatherDataObject& obj, int archiveNumber) {
  Location where;
  if (!locateArchive(archiveNumber, where)) return kResultFailed;
  return readAt(where, obj);
}

int WeatherDatabase::readFullRecord(std::int64_t fullNumber, WeatherDataObject& obj) {
  Location where;
  if (!locateFull(fullNumber, where)) return kResultFailed;
  return readAt(where, obj);
}

int WeatherDatabase::GetNextRecord(WeatherDataObject& obj) {
  if (!openFile_) return kResultFailed;
  const MonthHeader& header = openFile_->header();
  auto holds = [&](int d, std::int64_t p) {
    const DayEntry& e = header.days[static_cast<std::size_t>(d)];
    return e.count > 0 && p >= e.start && p < static_cast<std::int64_t>(e.start) + e.count;
  };
  int day = 0;
  if (currentDay_ >= 1 && currentDay_ < static_cast<int>(kDayIndexEntries)) {
    const DayEntry& e = header.days[static_cast<std::size_t>(currentDay_)];
    if (holds(currentDay_, position_)) {
      day = currentDay_;
    } else if (e.count > 0 && position_ == static_cast<std::int64_t>(e.start) + e.count) {
      // The day's block is read: reading goes on with the next day of the calendar,
      // wherever its block lies in the file (days appended late follow later days).
      for (int d = currentDay_ + 1; d < static_cast<int>(kDayIndexEntries); ++d) {
        if (header.days[static_cast<std::size_t>(d)].count > 0) {
          day = d;
          position_ = header.days[static_cast<std::size_t>(d)].start;
          break;
        }
      }
      if (day == 0) return kResultNoData;
    }
  }
  if (day == 0) {
    if (position_ >= header.recordCount) return kResultNoData;
    day = header.dayOfRecord(position_);
    if (day == 0) return kResultFailed;
  }
  RecordBytes bytes;
  if (!readFileRecord(position_, bytes)) return kResultFailed;
  ++position_;
  setCurrentDate(day, bytes, true);
  sequential_ = true;
  obj.record = ArchiveRecord(bytes);
  obj.date = currentDate_;
  return kResultOk;
}

int WeatherDatabase::GetClosestArchive(int year, int month, int day, int hour, int minute) {
  const int total = NumberOfRecordsInDataBase();
  if (total <= 0 || !isValidDate(year, month, day)) return kResultFailed;
  const std::int64_t targetDay = dayNumber(year, month, day);
  const double targetMinutes = hour * 60.0 + minute;

  // The first day with records on or after the target's day, across months that are
  // missing from the database too; none means every record lies before the target.
  const auto it = std::lower_bound(days_.begin(), days_.end(), packDate(year, month, day));
  if (it == days_.end()) return total - 1;
  const int full = Goto(packedMonth(*it), packedDay(*it), packedYear(*it));
  if (full < 0) return kResultFailed;
  std::int64_t i = archiveNumberOfFull(full);
  if (i < 0 || i >= total) return total - 1;

  auto differenceDays = [&](const WeatherDataObject& obj) {
    return static_cast<double>(dayNumber(obj.date.year, obj.date.month, obj.date.day) - targetDay) +
           (obj.date.minutes - targetMinutes) / 1440.0;
  };
  // Forward from the first record of that day: the record before it belongs to an
  // earlier day and never competes; within the search the earlier record wins only when
  // strictly closer.
  double previous = 99999999.0;
  WeatherDataObject obj;
  for (; i < total; ++i) {
    if (GetRecord(obj, static_cast<int>(i)) != kResultOk) return kResultFailed;
    if (obj.record.type() != kArchiveRecordType) continue;
    const double diff = differenceDays(obj);
    if (diff < 0) {
      previous = diff;
      continue;
    }
    if (std::fabs(diff) > std::fabs(previous)) return static_cast<int>(i - 1);
    return static_cast<int>(i);
  }
  return total - 1;
}

}  // namespace database
