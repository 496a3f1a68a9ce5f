#pragma once

// The APRS weather position report of a station: one line built from its settings and its
// current conditions, as the APRS-IS network reads it.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "link/sensor_image.h"
#include "platform/clock.h"
#include "platform/status.h"
#include "station/station_config.h"

namespace publish {

// A wind sample that was not measured.
inline constexpr double kWindSampleMissing = -32768.0;

// The wind of the real-time view's history of one-minute samples.
struct HistoryWind {
  std::optional<double> speedMph;  // mean of the newest two samples
  std::optional<double> gustMph;   // highest of the newest ten
};

// The history's wind from its samples in mph, oldest first: a value is missing when one of
// the samples it needs is missing (kWindSampleMissing) or there are none.
HistoryWind historyWind(std::span<const double> samples);

struct AprsInputs {
  // The station's settings (call sign, location, model, sensors, rain collector).
  const station::StationConfig& config;
  // The current conditions as the console reported them, before the program's calibration.
  const stationlink::SensorImage& image;
  // The wind of the real-time view's history while it runs; none otherwise.
  std::optional<HistoryWind> windHistory;
  // The console's barometer data reply (Cirrant models).
  std::string_view barometerData;
  // Today's rain in inches from today's daily summary (older models); none without one.
  std::optional<double> todayRainInches;
  // The computer's clock, UTC.
  platform::CivilTime utc;
};

struct AprsReport {
  std::string packet;   // the report line, without its line feed
  std::string logText;  // the event-log line describing it
};

// The report, or kBadArgument when the station cannot report: the location is unset or
// out of range, or the call sign is not a valid one. Missing or unusable readings never
// fail the report; their pieces are sent as dots.
platform::Result<AprsReport> BuildAprsReport(const AprsInputs& in);

// The call sign in upper case when it is a valid one (1-6 letters or digits, optionally
// followed by "-" and 1-2 more); nothing otherwise.
std::optional<std::string> normalisedCallSign(std::string_view callSign);

// True when the login password can go on the login line (printable, no blanks).
bool validAprsLogin(std::string_view login);

}  // namespace publish
