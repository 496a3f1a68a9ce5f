#include "reports/fuel_estimate.h"

#include <algorithm>
#include <cmath>

#include "platform/string_table.h"
#include "records/month_format.h"
#include "reports/fuel_text_ids.h"
#include "reports/report_data.h"
#include "reports/report_format.h"
#include "reports/summary_day.h"

namespace reports {

namespace {

std::string message(int id, std::initializer_list<FormatArg> args) {
  return formatLine(platform::stringText(id), args);
}

platform::Status failure(platform::Errc kind, int id) {
  return platform::Status(kind, platform::loadString(id));
}

std::int32_t packedOf(const quantities::Date& d) {
  return records::packDate(d.year, d.month, d.day);
}

quantities::Date dateOf(std::int32_t packed) {
  return {records::packedYear(packed), records::packedMonth(packed), records::packedDay(packed)};
}

std::string dayText(std::int32_t packed, const platform::IntlSettings& intl) {
  return quantities::shortDateText(
      records::DateTime::fromDate(records::packedYear(packed), records::packedMonth(packed),
                                  records::packedDay(packed)),
      intl);
}

// The water heater burns G gallons a day, less on the days the heating already runs:
// nothing from 30 degree days up.
double heaterShare(const FuelCustomer& c, double degreeDays) {
  if (!c.heaterOn) return 0.0;
  const double gk = static_cast<double>(c.heaterGallons) * c.kFactor;
  if (degreeDays <= 0.0) return gk;
  if (degreeDays >= 30.0) return 0.0;
  return (30.0 - degreeDays) * gk / 30.0;
}

}  // namespace

FuelMethod FuelMethod::fromStation(const station::StationConfig& config) {
  const ReportSettings s(config);
  return {s.fuelHeatBase(), s.fuelByIntegration()};
}

platform::Result<FuelDay> FuelDays::day(std::int32_t packed) {
  if (auto it = days_.find(packed); it != days_.end()) return it->second;
  auto d = fuelDegreeDay(db_, records::packedYear(packed), records::packedMonth(packed),
                         records::packedDay(packed), method_.baseF, method_.byIntegration);
  if (!d) return d;
  days_.emplace(packed, *d);
  return d;
}

platform::Result<FuelEstimate> estimateFuel(FuelDays& days, const FuelCustomer& c) {
  const std::vector<std::int32_t>& list = days.db().dayList();
  if (list.empty()) return failure(platform::Errc::kNotFound, fuel_text::kNoDataForEstimate);
  if (!c.kFactorUsable()) return failure(platform::Errc::kCorrupt, fuel_text::kStoredKBad);
  FuelEstimate e;
  const std::int32_t from = packedOf(c.readingDate);
  if (from > list.back()) {
    e.gallons = c.reading;
    e.noLaterData = true;
    return e;
  }
  const double k = c.kFactor;
  double sum = 0.0;
  // Days without records have no summary and add nothing, so only the stored days count.
  for (auto it = std::lower_bound(list.begin(), list.end(), from); it != list.end(); ++it) {
    auto d = days.day(*it);
    if (!d) return failure(platform::Errc::kIo, fuel_text::kRecordError);
    if (!d->counted) continue;
    if (days.method().byIntegration || d->fullDay) {
      sum += d->heating + heaterShare(c, d->heating);
    } else if (c.heaterOn) {
      sum += static_cast<double>(c.heaterGallons) * k;
    }
    if (c.reading - sum / k <= 0.0) {
      e.emptyOn = dateOf(*it);
      break;
    }
  }
  e.gallons = c.reading - sum / k;
  return e;
}

std::string estimateText(const FuelEstimate& e, const platform::IntlSettings& intl) {
  if (e.emptyOn) return message(fuel_text::kEmptyOn, {dayText(packedOf(*e.emptyOn), intl)});
  return formatLine("%.2f", {e.gallons});
}

platform::Result<double> kFactorFromDelivery(FuelDays& days, const KFactorInput& in,
                                             const quantities::UserConventions& conventions,
                                             const ShortDayQuestion& ask) {
  auto bad = [](std::string m) { return platform::Status::badArgument(std::move(m)); };
  const std::vector<std::int32_t>& list = days.db().dayList();
  if (list.empty()) return failure(platform::Errc::kNotFound, fuel_text::kNoDataForEstimate);
  if (!in.start) return bad(message(fuel_text::kBadStart, {std::string_view(in.startText)}));
  const std::int32_t start = packedOf(*in.start);
  if (start < list.front())
    return bad(message(fuel_text::kStartBeforeFirst, {std::string_view(in.startText)}));
  if (start > list.back())
    return bad(message(fuel_text::kStartAfterLast, {std::string_view(in.startText)}));
  if (in.endText.empty()) return bad(platform::loadString(fuel_text::kNeedEnd));
  if (!in.end) return bad(message(fuel_text::kBadEnd, {std::string_view(in.endText)}));
  const std::int32_t end = packedOf(*in.end);
  if (end < list.front())
    return bad(message(fuel_text::kEndBeforeFirst, {std::string_view(in.endText)}));
  if (end < start) return bad(platform::loadString(fuel_text::kEndBeforeStart));
  if (end > list.back()) return bad(platform::loadString(fuel_text::kEndAfterLast));
  if (in.gallonsText.empty()) return bad(platform::loadString(fuel_text::kNeedGallons));
  if (!in.gallons || !std::isfinite(*in.gallons))
    return bad(message(fuel_text::kBadGallons, {std::string_view(in.gallonsText)}));
  if (*in.gallons <= 0.0)
    return bad(message(fuel_text::kGallonsNotPositive, {std::string_view(in.gallonsText)}));

  const platform::IntlSettings& intl = conventions.intl;
  double sum = 0.0;
  for (auto it = std::lower_bound(list.begin(), list.end(), start); it != list.end() && *it <= end;
       ++it) {
    auto d = days.day(*it);
    if (!d) return failure(platform::Errc::kIo, fuel_text::kRecordError);
    if (!d->counted) continue;
    if (!d->fullDay) {
      std::string question;
      if (days.method().byIntegration) {
        question =
            message(fuel_text::kShortDayIntegration, {dayText(*it, intl), d->minutes / 60.0});
      } else {
        auto summary = readSummaryDay(days.db(), records::packedYear(*it),
                                      records::packedMonth(*it), records::packedDay(*it));
        if (!summary || !summary->has_value())
          return failure(platform::Errc::kIo, fuel_text::kRecordError);
        const auto temp = [&](const std::optional<double>& f) {
          return formatLine("%.1f", {conventions.units.ConvertTemp(*f, 0)});
        };
        const int minutes = static_cast<int>(d->minutes);
        question = message(fuel_text::kShortDayMaxMin,
                           {dayText(*it, intl), static_cast<long long>(minutes / 60),
                            static_cast<long long>(minutes % 60), temp((*summary)->highF),
                            temp((*summary)->lowF)});
      }
      if (!ask(question)) return failure(platform::Errc::kCancelled, fuel_text::kCancelled);
    }
    sum += d->heating;
  }
  const double k = std::round(sum / *in.gallons * 100.0) / 100.0;
  if (!(k > 0.0) || !std::isfinite(k)) return bad(platform::loadString(fuel_text::kZeroK));
  return k;
}

}  // namespace reports
