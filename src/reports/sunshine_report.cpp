#include "reports/sunshine_report.h"

#include <algorithm>
#include <chrono>

#include "platform/string_table.h"
#include "quantities/text_ids.h"
#include "reports/report_data.h"
#include "reports/report_format.h"
#include "reports/report_text_ids.h"
#include "reports/summary_day.h"
#include "reports/sun_text_ids.h"

namespace reports {

namespace {

constexpr int kMaxSunshine = 3000;  // W/m²; above it a reading is a fault, not sunshine

platform::Status bad(int id, std::string_view arg = {}) {
  return platform::Status::badArgument(formatLine(platform::stringText(id), {arg}));
}

quantities::Date daysBefore(quantities::Date d, int days) {
  using namespace std::chrono;
  const sys_days s{year_month_day{year{d.year}, month{static_cast<unsigned>(d.month)},
                                  day{static_cast<unsigned>(d.day)}}};
  const year_month_day r{s - std::chrono::days{days}};
  return {int(r.year()), static_cast<int>(unsigned(r.month())),
          static_cast<int>(unsigned(r.day()))};
}

std::int32_t packed(quantities::Date d) { return records::packDate(d.year, d.month, d.day); }

bool before(quantities::Date a, quantities::Date b) { return packed(a) < packed(b); }

std::optional<int> integer(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty() || s.size() > 9) return std::nullopt;
  bool negative = false;
  if (s.front() == '-' || s.front() == '+') {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return negative ? -v : v;
}

std::string dateText(quantities::Date d, const platform::IntlSettings& intl) {
  return quantities::shortDateText(records::DateTime::fromDate(d.year, d.month, d.day), intl);
}

}  // namespace

platform::Result<SunshineRequest> sunshineRequest(const SunshineInput& input,
                                                  const database::WeatherDatabase& db,
                                                  const station::StationConfig& config,
                                                  const platform::IntlSettings& intl) {
  if (db.dayList().empty())
    return platform::Status::notFound(platform::loadString(kMsgDatabaseEmpty));
  const std::int32_t newest = db.dayList().back();
  const ReportSettings stored(config);
  SunshineRequest r;
  r.end = {records::packedYear(newest), records::packedMonth(newest), records::packedDay(newest)};
  if (input.end && !input.end->empty()) {
    const auto end = quantities::parseDateOption(*input.end, intl);
    if (!end) return bad(kMsgBadEndDate, *input.end);
    r.end = *end;
  }
  if (input.start) {
    if (input.start->empty()) return bad(kMsgEnterStartDate);
    const auto start = quantities::parseDateOption(*input.start, intl);
    if (!start) return bad(kMsgBadStartDate, *input.start);
    r.start = *start;
  } else {
    r.start = stored.sunHoursStart().value_or(daysBefore(r.end, 15));
  }
  if (before(r.end, r.start)) return bad(kMsgStartAfterEnd);
  if (input.threshold) {
    if (input.threshold->empty()) return bad(kMsgEnterThreshold);
    const auto v = integer(*input.threshold);
    if (!v || *v < 0 || *v > kSunshineMaxThreshold) return bad(kMsgThresholdInteger);
    r.threshold = *v;
  } else {
    r.threshold = std::clamp(stored.sunHoursThreshold().value_or(kSunshineDefaultThreshold), 0,
                             kSunshineMaxThreshold);
  }
  return r;
}

void storeSunshineSettings(station::StationConfig& config, const SunshineRequest& request) {
  config.set(data::kSunStart, packReportDate(request.start));
  config.set(data::kSunThreshold, static_cast<std::int16_t>(request.threshold));
}

platform::Result<SunshineHours> countSunshine(database::WeatherDatabase& db,
                                              const SunshineRequest& request) {
  SunshineHours out;
  const auto& days = db.dayList();
  const auto first = std::lower_bound(days.begin(), days.end(), packed(request.start));
  const auto last = std::upper_bound(days.begin(), days.end(), packed(request.end));
  for (auto it = first; it != last; ++it) {
    const quantities::Date d{records::packedYear(*it), records::packedMonth(*it),
                             records::packedDay(*it)};
    std::move_backward(out.slots.begin(), out.slots.end() - 1, out.slots.end());
    out.slots[0] = SunshineSlot{d, 0};
    double& slot = out.slots[0].hours;
    double& total = out.total;
    const int threshold = request.threshold;
    const platform::Status s =
        forEachArchiveRecord(db, d.year, d.month, d.day, [&](const records::ArchiveRecord& r) {
          const int interval = r.interval();
          const int solar = r.i16(records::kArcSolarRadiation);
          if (interval == 0 || solar <= threshold || solar > kMaxSunshine) return;
          slot += interval / 60.0;
          total += interval / 60.0;
        });
    if (!s) return s;
  }
  return out;
}

std::string sunshineText(const SunshineHours& hours, const SunshineRequest& request,
                         quantities::Date today, const platform::IntlSettings& intl) {
  auto line = [](int id, std::initializer_list<FormatArg> args) {
    return formatLine(platform::stringText(id), args);
  };
  std::string out;
  out += line(kSunshineTitleLine, {std::string_view(dateText(today, intl))});
  out += line(kSunshineTotalLine, {hours.total});
  out += line(kSunshineStartLine, {std::string_view(dateText(request.start, intl))});
  out += line(kSunshineEndLine, {std::string_view(dateText(request.end, intl))});
  out += line(kSunshineThresholdLine, {std::string_view(std::to_string(request.threshold)),
                                       platform::stringText(quantities::text::kSolarUnit)});
  out += platform::loadString(kSunshineLastDaysLine);
  for (const SunshineSlot& slot : hours.slots) {
    if (!slot.date) {
      out += "  ----\n";
      continue;
    }
    out += formatLine("%-8s  %5.1f\n", {std::string_view(dateText(*slot.date, intl)), slot.hours});
  }
  return out;
}

platform::Result<std::string> writeSunshineReport(
    platform::FileSystem& files, database::WeatherDatabase& db, const SunshineRequest& request,
    quantities::Date today, const platform::IntlSettings& intl, const std::string& path) {
  auto hours = countSunshine(db, request);
  if (!hours) return hours.status();
  const std::string target =
      path.empty() ? platform::joinPath(db.directory(), kSunshineFile) : path;
  if (platform::Status s =
          files.replaceFileAtomically(target, sunshineText(*hours, request, today, intl));
      !s) {
    return platform::Status::io(
        formatLine(platform::stringText(kMsgCannotWriteSunReport), {std::string_view(target)}) +
        " (" + s.message() + ")");
  }
  return target;
}

}  // namespace reports
