#pragma once

// The sunrise report: for the station's location, the twilights, sunrise, sunset and the
// length of the day in local time, for a day, a month or a year ("sunrise.txt"); and the
// day's sunrise and sunset for the web page tags. Times come from one sun computation
// (sun_position.h) and one conversion to the local clock (local_time.h).

#include <array>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/intl_settings.h"
#include "platform/status.h"
#include "quantities/date_text.h"
#include "reports/local_time.h"
#include "station/station_config.h"

namespace reports {

inline constexpr std::string_view kSunriseFile = "sunrise.txt";

// A location fit to compute with: finite, latitude within ±90, longitude within ±180,
// offset within ±12. Anything else is "not set" and never reaches the trigonometry.
struct SunSite {
  double latitude = 0;
  double longitude = 0;
};
std::optional<SunSite> sunSiteOf(const station::StationConfig& config);

// The events of one date in the order of the report's columns: astronomical, nautical and
// civil twilight begin, sunrise, sunset, civil, nautical and astronomical twilight end;
// local minutes after midnight (0-1439), or nothing when the event does not occur.
struct SunDay {
  std::array<std::optional<int>, 8> events;
  std::optional<int> dayLengthMinutes;  // needs both sunrise and sunset
};
SunDay sunDay(const SunSite& site, const LocalClock& clock, quantities::Date date);

// Today's sunrise and sunset on the program's clock, for the template tags; nothing when
// the location is not set.
std::optional<SunDay> sunDayFor(const station::StationConfig& config, quantities::Date date);

enum class SunRange { kDay, kMonth, kYear };

// The report text. Fails (kNotFound) with "Configure Latitud y Longitud ..." when the
// station's location is not set.
platform::Result<std::string> sunriseReportText(const station::StationConfig& config,
                                                const platform::IntlSettings& intl,
                                                quantities::Date date, SunRange range);

// Writes the report atomically to `path` (the station directory's sunrise.txt when empty)
// and returns the path written; a file that cannot be written leaves the old one.
platform::Result<std::string> writeSunriseReport(platform::FileSystem& files,
                                                 const station::StationConfig& config,
                                                 const platform::IntlSettings& intl,
                                                 const std::string& stationDir,
                                                 quantities::Date date, SunRange range,
                                                 const std::string& path = {});

// The zone and saving choices of the report, stored in the station record: a list entry
// (its offset read from its text) or a typed offset (zone index -1), and the saving rule.
struct SunriseChoices {
  std::optional<int> zoneIndex;
  std::optional<std::string> typedOffset;
  std::optional<Saving> saving;  // kAutomatic, or by hand on or off
};
// Changes nothing and fails (kBadArgument) on a zone outside the list or a bad offset.
platform::Status applySunriseChoices(station::StationConfig& config, const SunriseChoices& c);

}  // namespace reports
