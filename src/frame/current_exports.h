#pragma once

// Current conditions and alarm thresholds as expansion modules receive them. The exported C
// layer forwards to these; each answers 1 on success and 0 otherwise, and none of them ever
// lets an exception out.

#include <cstdint>

#include "link/sensor_image.h"

namespace frame {

// Reads one current-conditions packet from the open station's console into `image`, with
// the program's own offsets applied for a station whose console does not calibrate itself.
// 0 when `image` is null, no program runs, no station is open or it has no console link,
// or the read fails; a failed read writes its link error to the event log under the
// station's name and leaves a reset image (no readings) in `image`, so a caller that ignores
// the answer never takes old or half-read values for current ones.
// Real-time polling is not suspended: the read shares the console with it.
int GetCalibratedSensorImage(stationlink::SensorImage* image) noexcept;

// The same record: the alarm bytes are part of it.
int GetCalibratedSensorImageWAlarms(stationlink::SensorImage* image) noexcept;

// Copies the console's 94-byte alarm-threshold block into `block` (which must hold 94
// bytes). 0 as above, and also for a console that has no such block; on failure `block` is
// left as it was.
int GetCirrantAlarmValues(std::uint8_t* block) noexcept;

}  // namespace frame
