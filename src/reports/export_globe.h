#pragma once

// The GLOBE exchange file: "//AA", per archive record an atmosphere line and, with soil,
// a soil line, then "//ZZ". Times are universal time; values are in °C, m/s, millibars
// and millimetres whatever the user's units ("M" for no data).

#include <optional>
#include <string>
#include <vector>

#include "database/weather_database.h"
#include "platform/file_system.h"
#include "platform/status.h"
#include "quantities/user_conventions.h"
#include "reports/export_selection.h"
#include "reports/local_time.h"
#include "station/station_config.h"

namespace reports {

inline constexpr std::string_view kGlobeFile = "globe.txt";
inline constexpr std::size_t kMaxGlobeIdCharacters = 14;
// Outside temperature and soil moistures 1-4 and temperatures 1-3 (sensorMask bits 0, 16-22).
inline constexpr std::uint32_t kGlobeSoilSensors = 0x7F0001;

struct GlobeIds {
  std::string school;
  std::string site;
  std::string soilSite;
  bool includeSoil = false;
};

// An ID is 1 to 14 characters without white space or control characters.
bool validGlobeId(std::string_view id);
// "Debe rellenar todos los campos." for a bad school or site ID; with soil, the soil site
// ID's message. kBadArgument.
platform::Status checkGlobeIds(const GlobeIds& ids);

// Saving kept by hand: in force from `start` (included) to `end` (excluded), both on the
// station's clock.
struct SavingPeriod {
  DateMinutes start;
  DateMinutes end;
};

// How record times become universal time: the station's offset and, without a period,
// the automatic saving rule; with one, saving inside it only.
struct GlobeClock {
  double gmtOffsetHours = 0;
  bool southern = false;
  std::optional<SavingPeriod> manual;
};
GlobeClock globeClock(const station::StationConfig& config,
                      const std::optional<SavingPeriod>& manual);

// "%d%02d%02d%02d%02d" of the record stamped `clockMinutes` (1440 is 24:00) of `date`.
std::string globeTime(quantities::Date date, int clockMinutes, const GlobeClock& clock);

// Moisture `centibar` corrected for the soil temperature `celsius`; unchanged when the
// temperature is no data (-32768, 32767) or exactly 75.
double correctedSoilMoisture(double centibar, double celsius);

struct GlobeJob {
  database::WeatherDatabase& db;  // open
  const station::StationConfig& config;
  const quantities::UserConventions& conventions;  // copied; switched to metric for the lines
  GlobeIds ids;
  GlobeClock clock;
};

// The two lines of one record (the soil line empty without soil), each ending in "\n".
std::string globeRecordLines(const GlobeJob& job, const database::WeatherDataObject& record,
                             const quantities::ValueContext& metric);

struct GlobeText {
  std::string text;
  platform::Status status;  // a read failure: the text then lacks "//ZZ"
};
GlobeText globeText(const GlobeJob& job, const std::vector<DayRecords>& days);

// Writes the file to `path` (the station directory's globe.txt when empty) and returns the
// path. After a read failure the lines made so far are written, without "//ZZ", and the
// failure returned.
platform::Result<std::string> writeGlobeFile(platform::FileSystem& files, const GlobeJob& job,
                                             const std::vector<DayRecords>& days,
                                             const std::string& path = {});

}  // namespace reports
