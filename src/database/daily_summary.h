#pragma once

// Building a day's summary (summary records A and B) from its archive records: reset it
// for a day, add each archive record, complete it. The results follow the host
// interface's conventions (1 or 0 for done or not done, -1601 for a bad argument), since
// modules call the same operations through their handles.
//
// Values are read in internal units through the record accessors of the quantities
// subsystem, so every no-data form of a field (0x8000, a 0x7FFF temperature, a barometer
// below 16000 or at 32767, a 255 byte) stays out of the summary.

#include "database/weather_objects.h"
#include "quantities/record_values.h"

namespace database {

// Empties the summary and sets both halves to the day (time 0xFFFF); it becomes ready
// and active. `minutes` is accepted for the host interface and not used. 0, or -1601
// (the summary left empty) for a date that is not in the calendar.
int ResetSummary(DailySummaryObject& summary, int month, int day, int year, int minutes = 0);

// Adds one archive record (type 1; other types are refused). 1 when added; 0 when the
// summary is not ready and active or the record is not an archive record.
int SummarizeDataRecord(DailySummaryObject& summary, const WeatherDataObject& record,
                        const quantities::ValueContext& ctx);

// Stores the averages and totals of the records added so far. 1 when completed; 0 when
// the summary is not ready and active. Calling it again gives the same records.
int FinalSummarizeData(DailySummaryObject& summary);

// 1 when the summary is ready, both halves carry the same day and that day is the
// record's date; else 0.
int IsSameDate(const DailySummaryObject& summary, const WeatherDataObject& record);

// The day an archive record is filed under: a record stamped 0:00 closes the day before.
DateTime filingDay(const DateTime& recordDate);

}  // namespace database
