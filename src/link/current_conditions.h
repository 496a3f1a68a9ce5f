#pragma once

// One reading of a station's current conditions.

#include "link/console_link.h"
#include "link/sensor_image.h"
#include "platform/status.h"

namespace stationlink {

// Reads one LOOP packet from the station's console. A bad packet or a silent console is
// an error with the link's code (-4 CRC, -2 header, -10 asleep, -1 no packet).
platform::Result<SensorImage> readCurrentConditions(ConsoleLink& link);

}  // namespace stationlink
