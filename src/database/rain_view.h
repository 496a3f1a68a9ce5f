#pragma once

// The rain table as text, the way the rain database window prints it: one row per year
// with its months and annual total, then the minimum, maximum and average rows.

#include <ostream>

#include "database/rain_database.h"
#include "quantities/units.h"

namespace database {

void printRainTable(const RainDatabase& rain, const quantities::Units& units, std::ostream& out);

}  // namespace database
