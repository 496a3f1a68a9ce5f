#pragma once

// Hours of bright sunshine: the archive minutes in which solar radiation lay above a
// threshold (and at most 3000 W/m², above which a reading is no sunshine), over a range of
// days, with the last fifteen days that hold records ("print.txt").

#include <array>
#include <optional>
#include <string>

#include "database/weather_database.h"
#include "platform/file_system.h"
#include "platform/intl_settings.h"
#include "platform/status.h"
#include "quantities/date_text.h"
#include "station/station_config.h"

namespace reports {

inline constexpr std::string_view kSunshineFile = "print.txt";
inline constexpr int kSunshineMaxThreshold = 1400;
inline constexpr int kSunshineDefaultThreshold = 100;
inline constexpr int kSunshineSlots = 15;

struct SunshineRequest {
  quantities::Date start;
  quantities::Date end;
  int threshold = kSunshineDefaultThreshold;  // W/m², 0-1400
};

// What the person gave; a field left out takes the dialog's default: the stored start
// date (or 15 days before the end), the newest record's date, the stored threshold (or
// 100 while none is stored). A field given but empty or wrong fails (kBadArgument) with
// its message; an empty database fails (kNotFound) with "Su base de datos está vacía.".
struct SunshineInput {
  std::optional<std::string> start, end, threshold;
};
platform::Result<SunshineRequest> sunshineRequest(const SunshineInput& input,
                                                  const database::WeatherDatabase& db,
                                                  const station::StationConfig& config,
                                                  const platform::IntlSettings& intl);

// Keeps the start date and the threshold in the station record (saving is the caller's).
void storeSunshineSettings(station::StationConfig& config, const SunshineRequest& request);

struct SunshineSlot {
  std::optional<quantities::Date> date;  // empty: no data
  double hours = 0;
};
struct SunshineHours {
  double total = 0;
  std::array<SunshineSlot, kSunshineSlots> slots;  // newest first
};

// Database failures carry "Error obteniendo registro de la base de datos." or
// "Error en la Base de Datos.".
platform::Result<SunshineHours> countSunshine(database::WeatherDatabase& db,
                                              const SunshineRequest& request);

std::string sunshineText(const SunshineHours& hours, const SunshineRequest& request,
                         quantities::Date today, const platform::IntlSettings& intl);

// Counts and writes atomically to `path` (the station directory's print.txt when empty);
// returns the path written.
platform::Result<std::string> writeSunshineReport(
    platform::FileSystem& files, database::WeatherDatabase& db, const SunshineRequest& request,
    quantities::Date today, const platform::IntlSettings& intl, const std::string& path = {});

}  // namespace reports
