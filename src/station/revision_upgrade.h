#pragma once

#include "platform/status.h"

namespace station {

class StationConfig;

// Brings a record of revision 0-14 up to the current revision 15, step by step from the
// step of its revision on. A record of revision 15 is left alone. Refuses (kCorrupt) a
// record whose `formatId` is not 4 or whose revision is negative or above 15, and then
// leaves it untouched.
platform::Status upgradeRevision(StationConfig& config);

}  // namespace station
