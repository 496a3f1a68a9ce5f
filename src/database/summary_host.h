#pragma once

// The daily-summary operations as modules call them: by handle, with integer results.
// Every operation returns -1600 for a handle that is not valid; otherwise the result of
// the operation of daily_summary.h or summary_values.h. Texts are returned in *text
// (the exported C functions copy them into the module's buffer).

#include <string>

#include "database/host_database.h"
#include "quantities/record_values.h"

namespace database {

int ResetSummary(HostDatabase& host, int summaryHandle, int month, int day, int year, int minutes);
int SummarizeDataRecord(HostDatabase& host, int summaryHandle, int weatherDataHandle,
                        const quantities::ValueContext& ctx);
int FinalSummarizeData(HostDatabase& host, int summaryHandle);
int IsSameDate(HostDatabase& host, int summaryHandle, int weatherDataHandle);

int GetSummaryData(HostDatabase& host, int summaryHandle, quantities::SensorCode code,
                   unsigned internalUnits, float* value, const quantities::Units& units);
// 0, or -1601 for a null output.
int GetSummaryDataStr(HostDatabase& host, int summaryHandle, quantities::SensorCode code,
                      std::string* text, const quantities::Units& units);
int GetSummaryTimeValue(HostDatabase& host, int summaryHandle, quantities::SensorCode code,
                        int* value);
int GetSummaryTimeStr(HostDatabase& host, int summaryHandle, quantities::SensorCode code,
                      std::string* text, const platform::IntlSettings& intl);
int GetExportSummaryTimeStr(HostDatabase& host, int summaryHandle, quantities::SensorCode code,
                            std::string* text, const platform::IntlSettings& intl);

}  // namespace database
