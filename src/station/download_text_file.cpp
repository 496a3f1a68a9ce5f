#include "station/download_text_file.h"

#include <chrono>
#include <sstream>

#include "database/weather_database.h"
#include "station/data_sets.h"
#include "station/record_listing.h"
#include "station/station_state.h"

namespace station {

namespace {

// The packed day (year << 16 | month << 8 | day) before `packed`.
std::int32_t dayBefore(std::int32_t packed) {
  using namespace std::chrono;
  const year_month_day ymd{year{packed >> 16}, month{static_cast<unsigned>((packed >> 8) & 0xFF)},
                           day{static_cast<unsigned>(packed & 0xFF)}};
  const year_month_day prev{sys_days{ymd} - days{1}};
  return (static_cast<int>(prev.year()) << 16) | (static_cast<int>(unsigned{prev.month()}) << 8) |
         static_cast<int>(unsigned{prev.day()});
}

}  // namespace

platform::Status writeDownloadTextFile(platform::FileSystem& files, const std::string& stationDir,
                                       const quantities::UserConventions& conventions) {
  auto station = loadStation(files, stationDir, stationDataSets());
  if (!station) return station.status();
  ListingRequest request;
  request.list = station->selectedSets[0];
  {
    database::WeatherDatabase db(files);
    (void)db.open(stationDir);
    const std::vector<std::int32_t>& days = db.dayList();
    // Records before this day are left out; with no day before the newest one stored,
    // the newest day starts the file.
    if (!days.empty()) request.fromPacked = dayBefore(days.back());
    if (platform::Status s = db.close(); !s) return s;
  }
  std::ostringstream text;
  if (platform::Status s = printRecords(files, *station, request, conventions, text); !s) return s;
  return files.replaceFileAtomically(platform::joinPath(stationDir, kDownloadTextFileName),
                                     text.str());
}

}  // namespace station
