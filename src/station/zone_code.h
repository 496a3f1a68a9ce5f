#pragma once

#include <cstdint>

namespace station {

class StationConfig;

// The geographic zone code (0, 1 or 2) of a location in decimal degrees, south and west
// negative. The daily summaries use it together with the hemisphere.
std::uint16_t computeZoneCode(double latitude, double longitude);

// Sets `zoneCode` from the record's `latitude` and `longitude`, or 0 when the location is
// not set (`latDeg` below -499).
void updateZoneCode(StationConfig& config);

}  // namespace station
