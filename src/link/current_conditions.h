#pragma once

// One reading of a station's current conditions, on a link of its own that is closed
// again afterwards.

#include <string>

#include "link/link_services.h"
#include "link/sensor_image.h"
#include "platform/status.h"
#include "station/station_config.h"

namespace stationlink {

// Reads one LOOP packet from the station's console. A bad packet or a silent console is
// an error with the link's code (-4 CRC, -5 time-out, -2 header).
platform::Result<SensorImage> readCurrentConditions(const station::StationConfig& config,
                                                    const LinkServices& services);

// The image as "name: value" lines in the console's own units, "---" for no reading.
std::string currentConditionsText(const SensorImage& image);

}  // namespace stationlink
