#include "database/database_views.h"

#include <cstdio>
#include <string>

#include "database/record_text.h"
#include "database/summary_view.h"
#include "quantities/date_text.h"
#include "quantities/record_view.h"

namespace database {

using platform::Status;

namespace {

std::string line(const char* fmt, auto... args) {
  char buf[256];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

std::string userDateTime(const DateTime& date, const platform::IntlSettings& intl) {
  const std::string day = quantities::shortDateText(date, intl);
  return date.minutes == kNoTime ? day : day + " " + quantities::timeText(date, intl);
}

}  // namespace

void printStationInfo(const WeatherDatabase& db, const platform::IntlSettings& intl,
                      std::ostream& out) {
  out << "station: " << db.directory() << "\n";
  out << "months: " << db.NumberOfMonthsInDatabase() << "\n";
  out << "days: " << db.NumberOfDaysInDatabase() << "\n";
  out << "archive records: " << db.NumberOfRecordsInDataBase() << "\n";
  out << "all records: " << db.fullRecordCount() << "\n";
  if (db.NumberOfRecordsInDataBase() > 0) {
    out << "first record: " << userDateTime(db.firstDate(), intl) << "\n";
    out << "last record: " << userDateTime(db.lastDate(), intl) << "\n";
  } else {
    out << "first record: ---\nlast record: ---\n";
  }
  for (const std::string& p : db.problems()) out << "left out: " << p << "\n";
}

void printMonths(const WeatherDatabase& db, const platform::IntlSettings& intl, std::ostream& out) {
  out << "month     records  days  archive records\n";
  for (const MonthEntry& m : db.months()) {
    const DateTime first = DateTime::fromDate(m.year, m.month, 1, kNoTime);
    out << quantities::monthYearText(first, intl)
        << line(" %9lld %5d %16lld\n", static_cast<long long>(m.count()), m.days,
                static_cast<long long>(m.archiveCount()));
  }
}

void printDays(const WeatherDatabase& db, const platform::IntlSettings& intl, std::ostream& out) {
  out << "day       records  archive records\n";
  for (int i = 0; i < db.NumberOfDaysInDatabase(); ++i) {
    int y = 0, m = 0, d = 0, count = 0;
    if (db.DayInfo(i, &y, &m, &d, &count, nullptr) != kResultOk) continue;
    const DateTime day = DateTime::fromDate(y, m, d, kNoTime);
    out << quantities::shortDateText(day, intl)
        << line(" %8d %16d\n", count, count - kSummaryRecordsPerDay);
  }
}

Status printRecord(WeatherDatabase& db, int archiveNumber,
                   const quantities::SensorCatalogue& catalogue,
                   const quantities::ValueContext& ctx, std::ostream& out) {
  WeatherDataObject obj;
  if (db.GetRecord(obj, archiveNumber) != kResultOk) {
    return Status::notFound("archive record " + std::to_string(archiveNumber) +
                            " is not in the database (it holds " +
                            std::to_string(db.NumberOfRecordsInDataBase()) + ")");
  }
  out << "archive record number: " << archiveNumber << "\n";
  for (const quantities::ViewLine& l :
       quantities::recordView(obj.record, catalogue, ctx, obj.date)) {
    out << l.name << ": " << l.value << "\n";
  }
  return Status::ok();
}

Status printClosest(WeatherDatabase& db, const DateTime& moment,
                    const quantities::SensorCatalogue& catalogue,
                    const quantities::ValueContext& ctx, std::ostream& out) {
  const int n =
      db.GetClosestArchive(moment.year, moment.month, moment.day, moment.hour, moment.minute);
  if (n < 0) return Status::notFound("no archive record near " + dateTimeText(moment));
  return printRecord(db, n, catalogue, ctx, out);
}

Status printDay(WeatherDatabase& db, int year, int month, int day,
                const quantities::ValueContext& ctx, std::ostream& out) {
  DailySummaryObject summary;
  const bool summarised = db.GetDailySummary(summary, year, month, day) == kResultOk;
  const int count = db.GotoDay(month, day, year);
  const std::string name = dateTimeText(DateTime::fromDate(year, month, day, kNoTime));
  if (count == kResultNoMonth) return Status::notFound(name + ": the month is not in the database");
  if (count == kResultNoData) return Status::notFound(name + ": the day has no records");
  if (count < 0) return Status::io(name + ": cannot read the month file");
  if (summarised) printSummary(summary, ctx.units, ctx.intl, out);
  WeatherDataObject obj;
  bool headed = false;
  for (int i = 0; i < count; ++i) {
    if (db.GetNextRecord(obj) != kResultOk) return Status::io(name + ": cannot read the day");
    if (obj.record.type() != kArchiveRecordType) continue;
    if (!headed) {
      out << recordLineHeading();
      headed = true;
    }
    out << recordLine(obj.record, ctx);
  }
  out << count - kSummaryRecordsPerDay << " archive records\n";
  return Status::ok();
}

}  // namespace database
