#pragma once

// A day's summary read by sensor code: its values, their texts, and the times of its
// highs and lows. Only the daily statistics (4 to 9) name summary values; any other code
// gives no data (-32768) and "---".

#include <string>

#include "database/weather_objects.h"
#include "platform/intl_settings.h"
#include "quantities/sensor_code.h"
#include "quantities/units.h"

namespace database {

// The value in internal units (°F, inHg, mph, inches, miles), or -32768.
double summaryValue(const DailySummaryObject& summary, quantities::SensorCode code);

// 0 with the value (user units unless `internalUnits`) or -32768 in *value; -1601 for a
// null output.
int GetSummaryData(const DailySummaryObject& summary, quantities::SensorCode code,
                   unsigned internalUnits, float* value, const quantities::Units& units);
// The value in user units as text, or "---".
std::string GetSummaryDataStr(const DailySummaryObject& summary, quantities::SensorCode code,
                              const quantities::Units& units);

// Minutes after midnight of the high or low the code names; -32768 when the code has no
// time or its slot holds no time (any value outside 0 to 1440).
int GetSummaryTimeValue(const DailySummaryObject& summary, quantities::SensorCode code);
// The time as a DateTime shows it, or "---".
std::string GetSummaryTimeStr(const DailySummaryObject& summary, quantities::SensorCode code,
                              const platform::IntlSettings& intl);
// The time for export files: "%d%c%02d" on the 24-hour clock; "%d%c%02d a" / "p" on the
// 12-hour clock, "12%c%02d a" at hours 0 and 24; "---" without a time.
std::string GetExportSummaryTimeStr(const DailySummaryObject& summary, quantities::SensorCode code,
                                    const platform::IntlSettings& intl);

// The direction with the most minutes (the lowest index on a tie), or -1 when the wind
// was never recorded.
int dominantDirection(const DailySummaryObject& summary);

}  // namespace database
