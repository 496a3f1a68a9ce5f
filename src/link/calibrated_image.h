#pragma once

// The program's own calibration of current conditions. The older consoles do not calibrate
// their readings, so the offsets a station owner keeps in the station's configuration are
// applied here before a module sees them. A Cirrant console calibrates itself: its readings
// pass unchanged, or they would be corrected twice.

#include <cstdint>

#include "link/sensor_image.h"
#include "station/station_config.h"

namespace stationlink {

// The `sensorMask` bit of a station whose barometer takes `calOffsetExtra`.
inline constexpr std::uint32_t kBarometerOffsetBit = 1u << 8;

// `image` with the program's offsets of `config` applied:
//  - `sensorOffsets` 0 and 1 are added to the outside and inside temperature;
//  - `sensorOffsets` 2 is added to the outside humidity, the result kept within 0-100;
//  - with `sensorMask` bit 8, `calOffsetExtra` is added to the barometer.
// A field holding its no-data value keeps it. A temperature or barometer sum that does not
// fit the 16-bit field becomes no data rather than a wrapped or clipped reading: either
// would show a temperature or pressure that never happened, while no data is what every
// display and module already copes with.
//
// The older consoles' link also adjusts its barometer trend when bit 8 is set; that is the
// link's own business and happens there, not here.
SensorImage calibrateSensorImage(const SensorImage& image, const station::StationConfig& config);

}  // namespace stationlink
