#pragma once

// The values of one current-conditions reading in internal units (°F, %, inHg, mph,
// inches, W/m², UV index), each absent when the console sent its no-data value or one out
// of range. The tags and the highs and lows read the fields the same way through these.

#include <cstdint>
#include <optional>

#include "link/sensor_image.h"
#include "station/station_config.h"

namespace publish::reading {

using Number = std::optional<double>;

// Tenths of a degree (0x8000 and 0x7FFF are no data).
Number tenths(std::int16_t v);
// Whole degrees plus 90 (extra, soil and leaf temperatures).
Number biasedTemperature(std::uint8_t v);
// A humidity: above 100 is no data (the console's 128 and 255 among them).
Number percent(std::uint8_t v);
// A byte whose 255 is no data (speeds, soil moisture, leaf wetness).
Number plainByte(std::uint8_t v);

Number barometer(const stationlink::SensorImage& image);
// Tips of the station's rain collector as inches (a negative count is no data).
Number rainTips(std::int16_t tips, const station::StationConfig& config);
// Inches per hour.
Number rainRate(const stationlink::SensorImage& image, const station::StationConfig& config);
Number solarRadiation(const stationlink::SensorImage& image);
Number uvIndex(const stationlink::SensorImage& image);

Number outsideTemperature(const stationlink::SensorImage& image);
Number insideTemperature(const stationlink::SensorImage& image);
Number outsideHumidity(const stationlink::SensorImage& image);
Number insideHumidity(const stationlink::SensorImage& image);
Number windSpeed(const stationlink::SensorImage& image);

// Derived quantities of present inputs.
Number dewPoint(Number tempF, Number humidity);
Number heatIndex(Number tempF, Number humidity);
Number windChill(Number tempF, Number windMph);
Number thw(Number tempF, Number humidity, Number windMph);
Number thsw(Number tempF, Number humidity, Number windMph, Number solar);
Number emc(Number tempF, Number humidity);
Number airDensity(Number tempF, Number barometerInHg, Number humidity);

}  // namespace publish::reading
