#pragma once

// A day's summary as text: every value it holds, in the user's units, with the time of
// each high and low.

#include <ostream>

#include "database/weather_objects.h"
#include "platform/intl_settings.h"
#include "quantities/units.h"

namespace database {

void printSummary(const DailySummaryObject& summary, const quantities::Units& units,
                  const platform::IntlSettings& intl, std::ostream& out);

}  // namespace database
