#include "reports/noaa_report.h"

#include "platform/string_table.h"
#include "reports/noaa_compute.h"
#include "reports/noaa_text.h"
#include "reports/report_text_ids.h"

namespace reports {

namespace {

std::string stationFile(const NoaaJob& job, std::string_view name, const std::string& path) {
  if (!path.empty()) return path;
  return platform::joinPath(job.db.directory(), name);
}

platform::Result<std::string> writeReport(const NoaaJob& job, const std::string& path,
                                          const platform::Result<std::string>& text) {
  if (!text) return text.status();
  if (platform::Status s = job.files.replaceFileAtomically(path, *text); !s) {
    return platform::Status(
        s.kind() == platform::Errc::kBadArgument ? platform::Errc::kIo : s.kind(),
        platform::loadString(kMsgCannotOpenReport) + " (" + s.message() + ")");
  }
  return path;
}

}  // namespace

platform::Result<YearMonth> newestMonth(const database::WeatherDatabase& db) {
  if (db.dayList().empty()) return platform::Status::notFound(platform::loadString(kMsgNoRecords));
  const std::int32_t newest = db.dayList().back();
  return YearMonth{records::packedYear(newest), records::packedMonth(newest)};
}

YearMonth previousMonth(YearMonth ym) {
  if (ym.month <= 1) return {ym.year - 1, 12};
  return {ym.year, ym.month - 1};
}

std::vector<YearMonth> monthsPresent(const database::WeatherDatabase& db) {
  std::vector<YearMonth> out;
  for (const std::int32_t packed : db.dayList()) {
    const YearMonth ym{records::packedYear(packed), records::packedMonth(packed)};
    if (out.empty() || !(out.back() == ym)) out.push_back(ym);
  }
  return out;
}

std::vector<int> yearsPresent(const database::WeatherDatabase& db) {
  std::vector<int> out;
  for (const YearMonth& ym : monthsPresent(db)) {
    if (out.empty() || out.back() != ym.year) out.push_back(ym.year);
  }
  return out;
}

platform::Result<std::string> noaaMonthReport(const NoaaJob& job, YearMonth ym) {
  const NoaaSettings settings = NoaaSettings::fromStation(job.config);
  auto month = computeNoaaMonth(job.db, settings, job.conventions.units, ym.year, ym.month);
  if (!month) return month.status();
  return noaaMonthText(*month, NoaaHeader::fromStation(job.config), job.conventions);
}

platform::Result<std::string> noaaYearReport(const NoaaJob& job, int year) {
  const NoaaSettings settings = NoaaSettings::fromStation(job.config);
  auto y = computeNoaaYear(job.db, settings, job.conventions.units, year);
  if (!y) return y.status();
  return noaaYearText(*y, NoaaHeader::fromStation(job.config), job.conventions);
}

platform::Result<std::string> writeNoaaMonthReport(const NoaaJob& job, YearMonth month,
                                                   const std::string& path) {
  return writeReport(job, stationFile(job, kNoaaMonthFile, path), noaaMonthReport(job, month));
}

platform::Result<std::string> writeNoaaYearReport(const NoaaJob& job, int year,
                                                  const std::string& path) {
  return writeReport(job, stationFile(job, kNoaaYearFile, path), noaaYearReport(job, year));
}

platform::Result<std::string> writeNoaaMonthFor(const NoaaJob& job, NoaaPeriod period,
                                                const std::string& path) {
  auto newest = newestMonth(job.db);
  if (!newest) return newest.status();
  if (period == NoaaPeriod::kCurrent) {
    return writeReport(job, stationFile(job, kNoaaMonthFile, path), noaaMonthReport(job, *newest));
  }
  return writeReport(job, stationFile(job, kNoaaPreviousMonthFile, path),
                     noaaMonthReport(job, previousMonth(*newest)));
}

platform::Result<std::string> writeNoaaYearFor(const NoaaJob& job, NoaaPeriod period,
                                               const std::string& path) {
  auto newest = newestMonth(job.db);
  if (!newest) return newest.status();
  if (period == NoaaPeriod::kCurrent) {
    return writeReport(job, stationFile(job, kNoaaYearFile, path),
                       noaaYearReport(job, newest->year));
  }
  return writeReport(job, stationFile(job, kNoaaPreviousYearFile, path),
                     noaaYearReport(job, newest->year - 1));
}

}  // namespace reports
