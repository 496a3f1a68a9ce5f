#include "reports/export_delete.h"

#include <cmath>
#include <functional>

#include "database/daily_summary.h"
#include "database/weather_objects.h"
#include "platform/intl_settings.h"
#include "platform/string_table.h"
#include "quantities/record_values.h"
#include "quantities/units.h"
#include "reports/export_text_ids.h"
#include "reports/report_format.h"

namespace reports {

namespace {

constexpr std::uint32_t kRainCode = 0x50440;

struct RainAmount {
  records::DateTime day;  // the day the rain is filed under
  double inches = 0;
};

platform::Status collectRain(database::WeatherDatabase& db, const std::vector<DayRecords>& days,
                             std::vector<RainAmount>& into) {
  const quantities::Units units;
  const platform::IntlSettings intl;
  const quantities::ValueContext ctx{units, intl, 1.0};
  database::WeatherDataObject obj;
  for (const DayRecords& d : days) {
    for (int n = d.firstArchive; n < d.firstArchive + d.count; ++n) {
      if (db.GetRecord(obj, n) != database::kResultOk) {
        return platform::Status::io(platform::loadString(export_text::kRecordReadFailed));
      }
      float inches = 0;
      if (quantities::GetWeatherData(obj.record, kRainCode, 1, &inches, ctx) !=
              quantities::kValueOk ||
          inches == -32768.0F || !std::isfinite(inches) || inches <= 0) {
        continue;
      }
      into.push_back({database::filingDay(obj.date), inches});
    }
  }
  return platform::Status::ok();
}

long long code(const platform::Status& s) { return s.code() != 0 ? s.code() : -1; }

}  // namespace

platform::Result<DeleteOutcome> deleteSelection(database::WeatherDatabase& db,
                                                database::RainDatabase* rain,
                                                const ExportSelection& selection) {
  DeleteOutcome outcome;
  std::vector<RainAmount> taken;
  // Deletes what `pick` names when any of it is still there. The failure text is made
  // from the delete's status.
  auto deleteOne = [&](const ExportSelection& pick,
                       const std::function<platform::Status()>& remove,
                       const std::function<std::string(const platform::Status&)>& failure,
                       int& counter) -> platform::Status {
    const std::vector<DayRecords> days = selectedDays(db, pick);
    if (days.empty()) return platform::Status::ok();
    const std::size_t rainBefore = taken.size();
    if (rain != nullptr) {
      if (platform::Status s = collectRain(db, days, taken); !s) return s;
    }
    if (platform::Status s = remove(); !s) {
      taken.resize(rainBefore);  // nothing of this pick went: its rain stays counted
      return platform::Status(s.kind(), failure(s) + " (" + s.message() + ")", s.code());
    }
    for (const DayRecords& d : days) outcome.records += d.count;
    ++counter;
    return platform::Status::ok();
  };
  platform::Status failed = platform::Status::ok();
  for (int year : selection.years) {
    if (!failed) break;
    ExportSelection pick;
    pick.years = {year};
    failed = deleteOne(
        pick, [&] { return db.deleteYear(year); },
        [&](const platform::Status& s) {
          return formatLine(platform::stringText(export_text::kDeleteYearFailed),
                            {code(s), static_cast<long long>(year)});
        },
        outcome.years);
  }
  for (const YearMonth& ym : selection.months) {
    if (!failed) break;
    ExportSelection pick;
    pick.months = {ym};
    failed = deleteOne(
        pick, [&] { return db.deleteMonth(ym.year, ym.month); },
        [&](const platform::Status& s) {
          return formatLine(platform::stringText(export_text::kDeleteMonthFailed),
                            {code(s), static_cast<long long>(ym.month),
                             static_cast<long long>(ym.year)});
        },
        outcome.months);
  }
  for (const quantities::Date& d : selection.days) {
    if (!failed) break;
    ExportSelection pick;
    pick.days = {d};
    failed = deleteOne(
        pick, [&] { return db.deleteDay(d.month, d.day, d.year); },
        [&](const platform::Status& s) {
          const std::string day = formatLine(
              "%04d-%02d-%02d", {static_cast<long long>(d.year), static_cast<long long>(d.month),
                                 static_cast<long long>(d.day)});
          return formatLine(platform::stringText(export_text::kDeleteDayFailed),
                            {code(s), std::string_view(day)});
        },
        outcome.days);
  }
  if (rain != nullptr && outcome.records > 0) {
    quantities::Units inches;
    inches.SetRainUnit(quantities::kInches);
    for (const RainAmount& a : taken) (void)rain->addToMonth(a.day, -a.inches, inches);
    if (platform::Status s = rain->saveStatus(); !s) {
      const std::string message =
          platform::loadString(export_text::kRainSaveFailed) + " (" + s.message() + ")";
      return platform::Status::io(failed.isOk() ? message : failed.message() + "; " + message);
    }
  }
  if (!failed) return failed;
  return outcome;
}

}  // namespace reports
