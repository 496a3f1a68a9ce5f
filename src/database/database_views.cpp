#include "database/database_views.h"

#include <cstdio>
#include <string>

#include "database/record_text.h"

namespace database {

using platform::Status;

namespace {

std::string line(const char* fmt, auto... args) {
  char buf[256];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

std::string dayText(int year, int month, int day) {
  return line("%04d-%02d-%02d", year, month, day);
}

}  // namespace

void printStationInfo(const WeatherDatabase& db, std::ostream& out) {
  out << "station: " << db.directory() << "\n";
  out << "months: " << db.NumberOfMonthsInDatabase() << "\n";
  out << "days: " << db.NumberOfDaysInDatabase() << "\n";
  out << "archive records: " << db.NumberOfRecordsInDataBase() << "\n";
  out << "all records: " << db.fullRecordCount() << "\n";
  if (db.NumberOfRecordsInDataBase() > 0) {
    out << "first record: " << dateTimeText(db.firstDate()) << "\n";
    out << "last record: " << dateTimeText(db.lastDate()) << "\n";
  } else {
    out << "first record: ---\nlast record: ---\n";
  }
  for (const std::string& p : db.problems()) out << "left out: " << p << "\n";
}

void printMonths(const WeatherDatabase& db, std::ostream& out) {
  out << "month     records  days  archive records\n";
  for (const MonthEntry& m : db.months()) {
    out << line("%04d-%02d %9lld %5d %16lld\n", m.year, m.month, static_cast<long long>(m.count()),
                m.days, static_cast<long long>(m.archiveCount()));
  }
}

void printDays(const WeatherDatabase& db, std::ostream& out) {
  out << "day         records  archive records\n";
  for (int i = 0; i < db.NumberOfDaysInDatabase(); ++i) {
    int y = 0, m = 0, d = 0, count = 0;
    if (db.DayInfo(i, &y, &m, &d, &count, nullptr) != kResultOk) continue;
    out << dayText(y, m, d) << line(" %8d %16d\n", count, count - kSummaryRecordsPerDay);
  }
}

Status printRecord(WeatherDatabase& db, int archiveNumber, std::ostream& out) {
  WeatherDataObject obj;
  if (db.GetRecord(obj, archiveNumber) != kResultOk) {
    return Status::notFound("archive record " + std::to_string(archiveNumber) +
                            " is not in the database (it holds " +
                            std::to_string(db.NumberOfRecordsInDataBase()) + ")");
  }
  out << "archive record number: " << archiveNumber << "\n" << describeRecord(obj.record, obj.date);
  return Status::ok();
}

Status printClosest(WeatherDatabase& db, const DateTime& moment, std::ostream& out) {
  const int n =
      db.GetClosestArchive(moment.year, moment.month, moment.day, moment.hour, moment.minute);
  if (n < 0) return Status::notFound("no archive record near " + dateTimeText(moment));
  return printRecord(db, n, out);
}

Status printDay(WeatherDatabase& db, int year, int month, int day, std::ostream& out) {
  const int count = db.GotoDay(month, day, year);
  const std::string name = dayText(year, month, day);
  if (count == kResultNoMonth) return Status::notFound(name + ": the month is not in the database");
  if (count == kResultNoData) return Status::notFound(name + ": the day has no records");
  if (count < 0) return Status::io(name + ": cannot read the month file");
  WeatherDataObject obj;
  bool headed = false;
  for (int i = 0; i < count; ++i) {
    if (db.GetNextRecord(obj) != kResultOk) return Status::io(name + ": cannot read the day");
    if (obj.record.type() != kArchiveRecordType) {
      DateTime date = obj.date;
      date.setMinutes(kNoTime);
      out << describeRecord(obj.record, date) << "\n";
      continue;
    }
    if (!headed) {
      out << recordLineHeading();
      headed = true;
    }
    out << recordLine(obj.record);
  }
  out << count - kSummaryRecordsPerDay << " archive records\n";
  return Status::ok();
}

}  // namespace database
