#include "database/database_views.h"

#include <string>

#include "database/record_text.h"
#include "database/summary_view.h"
#include "database/view_text.h"
#include "platform/string_table.h"
#include "quantities/date_text.h"
#include "quantities/value_strings.h"

namespace database {

using platform::Status;

namespace {

constexpr int kStation = 64800;
constexpr int kMonthCount = 64801;
constexpr int kDayCount = 64802;
constexpr int kArchiveCount = 64803;
constexpr int kAllCount = 64804;
constexpr int kFirstRecord = 64805;
constexpr int kLastRecord = 64806;
constexpr int kLeftOut = 64807;
constexpr int kMonthHead = 64808;
constexpr int kRecordsHead = 64809;
constexpr int kDaysHead = 64810;
constexpr int kArchiveHead = 64811;
constexpr int kDayHead = 64812;
constexpr int kRecordNumber = 64813;
constexpr int kRecordMissing = 64814;
constexpr int kNoneNear = 64815;
constexpr int kNoMonth = 64816;
constexpr int kNoRecords = 64817;
constexpr int kMonthUnreadable = 64818;
constexpr int kDayUnreadable = 64819;
constexpr int kOneArchiveRecord = 64820;
constexpr int kArchiveRecords = 64821;
constexpr int kDateName = 64782;
constexpr int kTimeName = 64822;

// Column widths of the month and day listings.
constexpr std::size_t kDateWidth = 8;
constexpr std::size_t kRecordsWidth = 11;
constexpr std::size_t kDaysWidth = 6;
constexpr std::size_t kArchiveWidth = 12;

std::string userDateTime(const DateTime& date, const platform::IntlSettings& intl) {
  const std::string day = quantities::shortDateText(date, intl);
  return date.minutes == kNoTime ? day
                                 : day + " " + standaloneValue(quantities::timeText(date, intl));
}

std::string number(long long n, std::size_t width) { return padLeft(std::to_string(n), width); }

}  // namespace

void printStationInfo(const WeatherDatabase& db, const platform::IntlSettings& intl,
                      std::ostream& out) {
  auto line = [&out](int id, const std::string& value) { out << viewText(id, {value}) << "\n"; };
  line(kStation, db.directory());
  line(kMonthCount, std::to_string(db.NumberOfMonthsInDatabase()));
  line(kDayCount, std::to_string(db.NumberOfDaysInDatabase()));
  line(kArchiveCount, std::to_string(db.NumberOfRecordsInDataBase()));
  line(kAllCount, std::to_string(db.fullRecordCount()));
  const bool any = db.NumberOfRecordsInDataBase() > 0;
  line(kFirstRecord, any ? userDateTime(db.firstDate(), intl) : "---");
  line(kLastRecord, any ? userDateTime(db.lastDate(), intl) : "---");
  for (const std::string& p : db.problems()) line(kLeftOut, p);
}

void printMonths(const WeatherDatabase& db, const platform::IntlSettings& intl, std::ostream& out) {
  out << padRight(platform::loadString(kMonthHead), kDateWidth)
      << padLeft(platform::loadString(kRecordsHead), kRecordsWidth)
      << padLeft(platform::loadString(kDaysHead), kDaysWidth)
      << padLeft(platform::loadString(kArchiveHead), kArchiveWidth) << "\n";
  for (const MonthEntry& m : db.months()) {
    const DateTime first = DateTime::fromDate(m.year, m.month, 1, kNoTime);
    out << padRight(quantities::monthYearText(first, intl), kDateWidth)
        << number(static_cast<long long>(m.count()), kRecordsWidth) << number(m.days, kDaysWidth)
        << number(static_cast<long long>(m.archiveCount()), kArchiveWidth) << "\n";
  }
}

void printDays(const WeatherDatabase& db, const platform::IntlSettings& intl, std::ostream& out) {
  out << padRight(platform::loadString(kDayHead), kDateWidth)
      << padLeft(platform::loadString(kRecordsHead), kRecordsWidth)
      << padLeft(platform::loadString(kArchiveHead), kArchiveWidth) << "\n";
  for (int i = 0; i < db.NumberOfDaysInDatabase(); ++i) {
    int y = 0, m = 0, d = 0, count = 0;
    if (db.DayInfo(i, &y, &m, &d, &count, nullptr) != kResultOk) continue;
    const DateTime day = DateTime::fromDate(y, m, d, kNoTime);
    out << padRight(quantities::shortDateText(day, intl), kDateWidth)
        << number(count, kRecordsWidth) << number(count - kSummaryRecordsPerDay, kArchiveWidth)
        << "\n";
  }
}

Status printRecord(WeatherDatabase& db, int archiveNumber,
                   const quantities::SensorCatalogue& catalogue,
                   const quantities::ValueContext& ctx, std::ostream& out) {
  WeatherDataObject obj;
  if (db.GetRecord(obj, archiveNumber) != kResultOk) {
    return Status::notFound(
        viewText(kRecordMissing,
                 {std::to_string(archiveNumber), std::to_string(db.NumberOfRecordsInDataBase())}));
  }
  out << viewText(kRecordNumber, {std::to_string(archiveNumber)}) << "\n";
  out << platform::loadString(kDateName) << ": " << quantities::shortDateText(obj.date, ctx.intl)
      << "\n";
  out << platform::loadString(kTimeName) << ": "
      << standaloneValue(quantities::recordTimeText(obj.record.timeOfDay(), ctx.intl)) << "\n";
  const quantities::CatalogueSet* set = catalogue.findSet(quantities::kArchiveSetName);
  if (set == nullptr) return Status::ok();
  for (const quantities::CatalogueRow& row : set->rows) {
    std::string value = standaloneValue(quantities::GetWeatherDataStr(obj.record, row.code, ctx));
    const std::string unit = shownUnit(ctx.units, row.code);
    if (value.find("---") == std::string::npos && !unit.empty()) value += " " + unit;
    out << capitalised(row.longName) << ": " << value << "\n";
  }
  return Status::ok();
}

Status printClosest(WeatherDatabase& db, const DateTime& moment,
                    const quantities::SensorCatalogue& catalogue,
                    const quantities::ValueContext& ctx, std::ostream& out) {
  const int n =
      db.GetClosestArchive(moment.year, moment.month, moment.day, moment.hour, moment.minute);
  if (n < 0) return Status::notFound(viewText(kNoneNear, {userDateTime(moment, ctx.intl)}));
  return printRecord(db, n, catalogue, ctx, out);
}

Status printDay(WeatherDatabase& db, int year, int month, int day,
                const quantities::ValueContext& ctx, std::ostream& out) {
  DailySummaryObject summary;
  const bool summarised = db.GetDailySummary(summary, year, month, day) == kResultOk;
  const int count = db.GotoDay(month, day, year);
  const std::string name =
      quantities::shortDateText(DateTime::fromDate(year, month, day, kNoTime), ctx.intl);
  if (count == kResultNoMonth) return Status::notFound(viewText(kNoMonth, {name}));
  if (count == kResultNoData) return Status::notFound(viewText(kNoRecords, {name}));
  if (count < 0) return Status::io(viewText(kMonthUnreadable, {name}));
  if (summarised) printSummary(summary, ctx.units, ctx.intl, out);
  WeatherDataObject obj;
  bool headed = false;
  for (int i = 0; i < count; ++i) {
    if (db.GetNextRecord(obj) != kResultOk) return Status::io(viewText(kDayUnreadable, {name}));
    if (obj.record.type() != kArchiveRecordType) continue;
    if (!headed) {
      out << recordLineHeading();
      headed = true;
    }
    out << recordLine(obj.record, ctx);
  }
  out << countText(count - kSummaryRecordsPerDay, kOneArchiveRecord, kArchiveRecords) << "\n";
  return Status::ok();
}

}  // namespace database
