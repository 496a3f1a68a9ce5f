#include "publish/upload_report_files.h"

#include <chrono>
#include <sstream>

#include "database/weather_database.h"
#include "publish/inet_config.h"
#include "publish/upload_text.h"
#include "reports/noaa_report.h"
#include "station/data_sets.h"
#include "station/record_listing.h"
#include "station/station_state.h"

namespace publish {

namespace {

// The packed day (year << 16 | month << 8 | day) `back` days before `packed`.
std::int32_t daysBefore(std::int32_t packed, int back) {
  using namespace std::chrono;
  const year_month_day ymd{year{packed >> 16}, month{static_cast<unsigned>((packed >> 8) & 0xFF)},
                           day{static_cast<unsigned>(packed & 0xFF)}};
  const year_month_day prev{sys_days{ymd} - days{back}};
  return (static_cast<int>(prev.year()) << 16) | (static_cast<int>(unsigned{prev.month()}) << 8) |
         static_cast<int>(unsigned{prev.day()});
}

platform::Status writeRecentRecords(platform::FileSystem& files, const std::string& stationDir,
                                    const quantities::UserConventions& conventions, int days,
                                    const std::string& path) {
  auto station = station::loadStation(files, stationDir, station::stationDataSets());
  if (!station) return station.status();
  station::ListingRequest request;
  request.list = station->selectedSets[0];
  {
    database::WeatherDatabase db(files);
    (void)db.openReadOnly(stationDir);
    const std::vector<std::int32_t>& stored = db.dayList();
    if (!stored.empty()) request.fromPacked = daysBefore(stored.back(), days - 1);
    if (platform::Status s = db.close(); !s) return s;
  }
  std::ostringstream text;
  if (platform::Status s = station::printRecords(files, *station, request, conventions, text); !s) {
    return s;
  }
  return files.replaceFileAtomically(path, text.str());
}

platform::Status writeNoaa(platform::FileSystem& files, const std::string& stationDir,
                           const quantities::UserConventions& conventions, std::uint32_t bit,
                           const std::string& path) {
  auto station = station::loadStation(files, stationDir, station::stationDataSets());
  if (!station) return station.status();
  database::WeatherDatabase db(files);
  (void)db.openReadOnly(stationDir);
  const reports::NoaaJob job{files, db, station->config, conventions};
  const auto period = (bit == kReportNoaaThisMonth || bit == kReportNoaaThisYear)
                          ? reports::NoaaPeriod::kCurrent
                          : reports::NoaaPeriod::kPrevious;
  const bool month = bit == kReportNoaaThisMonth || bit == kReportNoaaLastMonth;
  auto written = month ? reports::writeNoaaMonthFor(job, period, path)
                       : reports::writeNoaaYearFor(job, period, path);
  (void)db.close();
  return written.status();
}

}  // namespace

const std::vector<ReportFileKind>& reportFileKinds() {
  static const std::vector<ReportFileKind> kinds = {
      {kReportNoaaThisMonth, reports::kNoaaMonthFile, msg::kReportNoaaThisMonth},
      {kReportNoaaLastMonth, reports::kNoaaPreviousMonthFile, msg::kReportNoaaThisMonth + 1},
      {kReportNoaaThisYear, reports::kNoaaYearFile, msg::kReportNoaaThisMonth + 2},
      {kReportNoaaLastYear, reports::kNoaaPreviousYearFile, msg::kReportNoaaThisMonth + 3},
      {kReportTwoDayFile, kTwoDayFileName, msg::kReportWeekFile - 1},
      {kReportWeekFile, kWeekFileName, msg::kReportWeekFile},
  };
  return kinds;
}

platform::Status writeReportFile(platform::FileSystem& files, const std::string& stationDir,
                                 const quantities::UserConventions& conventions,
                                 std::uint32_t bit, const std::string& path) {
  if (bit == kReportTwoDayFile) return writeRecentRecords(files, stationDir, conventions, 2, path);
  if (bit == kReportWeekFile) return writeRecentRecords(files, stationDir, conventions, 7, path);
  return writeNoaa(files, stationDir, conventions, bit, path);
}

}  // namespace publish
