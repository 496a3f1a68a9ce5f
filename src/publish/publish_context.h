#pragma once

// Everything one publishing run fills its templates from, gathered once at the start of
// the run so that every page of the run shows the same moment.

#include <optional>
#include <span>
#include <string>

#include "database/weather_database.h"
#include "link/sensor_image.h"
#include "link/wind_history.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "publish/highs_lows.h"
#include "quantities/user_conventions.h"
#include "station/station_config.h"

namespace publish {

struct PublishContext {
  // The open station's settings: sensors, model, names, location, rain collector, offsets.
  station::StationConfig station;
  // The current conditions as the console reported them.
  stationlink::SensorImage raw{};
  // The same with the program's calibration offsets applied (older models only; a Cirrant
  // console calibrates itself). Every value shown comes from here, so the offsets count
  // once.
  stationlink::SensorImage readings{};
  HighsLows highsLows;
  // The station's date and time belonging to the current conditions.
  platform::CivilTime stationTime;
  // The minute samples of wind of the real-time readings; absent when they do not run.
  std::optional<stationlink::WindHistory> windHistory;
  // The computer's clock, for the date and time of the conversion. Never null.
  const platform::Clock* clock = &platform::systemClock();
  // The user's units and date and time conventions.
  quantities::UserConventions conventions;
};

// What a command or the running program has at hand when it publishes.
struct PublishSources {
  station::StationConfig station;
  // The station's directory: its database is opened read-only from here through `files`
  // when `database` is null (empty: no database, so no highs and lows but the readings').
  std::string stationDir;
  platform::FileSystem* files = nullptr;
  // The station's open database, or null.
  database::WeatherDatabase* database = nullptr;
  // The current conditions just read from the console, raw.
  stationlink::SensorImage current{};
  // Earlier raw readings since the last download, with the local time each was taken;
  // they count towards today's highs and lows.
  std::span<const TimedReading> earlierReadings;
  // The real-time readings' wind history, or null when they do not run.
  const stationlink::WindHistory* windHistory = nullptr;
  // The clock; the current conditions are taken as read at its present local time.
  const platform::Clock* clock = &platform::systemClock();
  quantities::UserConventions conventions;
};

// The context of one run: the readings calibrated, today's highs and lows merged with the
// readings (the current one included, at the clock's local time) and the month's and
// year's highs and lows read from the daily summaries.
PublishContext buildPublishContext(const PublishSources& sources);

}  // namespace publish
