#include "database/summary_host.h"

#include "database/daily_summary.h"
#include "database/summary_values.h"

namespace database {

int ResetSummary(HostDatabase& host, int summaryHandle, int month, int day, int year, int minutes) {
  DailySummaryObject* s = host.dailySummary(summaryHandle);
  if (s == nullptr) return kResultBadHandle;
  return ResetSummary(*s, month, day, year, minutes);
}

int SummarizeDataRecord(HostDatabase& host, int summaryHandle, int weatherDataHandle,
                        const quantities::ValueContext& ctx) {
  DailySummaryObject* s = host.dailySummary(summaryHandle);
  if (s == nullptr) return kResultBadHandle;
  const WeatherDataObject* r = host.weatherData(weatherDataHandle);
  if (r == nullptr) return kResultBadHandle;
  return SummarizeDataRecord(*s, *r, ctx);
}

int FinalSummarizeData(HostDatabase& host, int summaryHandle) {
  DailySummaryObject* s = host.dailySummary(summaryHandle);
  if (s == nullptr) return kResultBadHandle;
  return FinalSummarizeData(*s);
}

int IsSameDate(HostDatabase& host, int summaryHandle, int weatherDataHandle) {
  const DailySummaryObject* s = host.dailySummary(summaryHandle);
  if (s == nullptr) return kResultBadHandle;
  const WeatherDataObject* r = host.weatherData(weatherDataHandle);
  if (r == nullptr) return kResultBadHandle;
  return IsSameDate(*s, *r);
}

int GetSummaryData(HostDatabase& host, int summaryHandle, quantities::SensorCode code,
                   unsigned internalUnits, float* value, const quantities::Units& units) {
  const DailySummaryObject* s = host.dailySummary(summaryHandle);
  if (s == nullptr) return kResultBadHandle;
  return GetSummaryData(*s, code, internalUnits, value, units);
}

int GetSummaryDataStr(HostDatabase& host, int summaryHandle, quantities::SensorCode code,
                      std::string* text, const quantities::Units& units) {
  const DailySummaryObject* s = host.dailySummary(summaryHandle);
  if (s == nullptr) return kResultBadHandle;
  if (text == nullptr) return kResultBadArgument;
  *text = GetSummaryDataStr(*s, code, units);
  return kResultOk;
}

int GetSummaryTimeValue(HostDatabase& host, int summaryHandle, quantities::SensorCode code,
                        int* value) {
  const DailySummaryObject* s = host.dailySummary(summaryHandle);
  if (s == nullptr) return kResultBadHandle;
  if (value == nullptr) return kResultBadArgument;
  *value = GetSummaryTimeValue(*s, code);
  return kResultOk;
}

int GetSummaryTimeStr(HostDatabase& host, int summaryHandle, quantities::SensorCode code,
                      std::string* text, const platform::IntlSettings& intl) {
  const DailySummaryObject* s = host.dailySummary(summaryHandle);
  if (s == nullptr) return kResultBadHandle;
  if (text == nullptr) return kResultBadArgument;
  *text = GetSummaryTimeStr(*s, code, intl);
  return kResultOk;
}

int GetExportSummaryTimeStr(HostDatabase& host, int summaryHandle, quantities::SensorCode code,
                            std::string* text, const platform::IntlSettings& intl) {
  const DailySummaryObject* s = host.dailySummary(summaryHandle);
  if (s == nullptr) return kResultBadHandle;
  if (text == nullptr) return kResultBadArgument;
  *text = GetExportSummaryTimeStr(*s, code, intl);
  return kResultOk;
}

}  // namespace database
