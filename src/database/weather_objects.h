#pragma once

// The objects behind the weather-data and daily-summary handles, and the result codes
// the database operations return to their callers (and, unchanged, to modules).

#include <cstdint>

#include "database/record_names.h"

namespace database {

// Result codes.
inline constexpr int kResultOk = 0;
inline constexpr int kResultFailed = -1;   // cannot open or position; read error
inline constexpr int kResultNoData = -2;   // day without records; end of file; no database
inline constexpr int kResultNoMonth = -5;  // the month is not in the database
inline constexpr int kResultBadHandle = -1600;
inline constexpr int kResultBadArgument = -1601;

// A record read from or written to the database, with its date.
struct WeatherDataObject {
  DateTime date;
  // Normally an ArchiveRecord; after GetNextRecord it may hold a summary record.
  ArchiveRecord record;
};

struct SummaryHalf {
  DateTime date;
  Record88 record;
};

// Running sums of one day's summary (each value × archive interval, internal units).
struct SummarySum {
  double sum = 0.0;
  std::int16_t minutes = 0;
};

struct SummaryAccumulators {
  SummarySum outsideTemp, insideTemp, outsideHumidity, barometer, windSpeed, windChill, heatIndex,
      derived6, dewPoint;
  double heatingDegreeDays = 0.0;  // °F·days
  double coolingDegreeDays = 0.0;
  double rainInches = 0.0;
  double solarEnergy = kNoDataFloat;  // langleys
  double windRun = kNoDataFloat;      // miles
  double uvDose = kNoDataFloat;       // MEDs
};

inline constexpr std::uint8_t kSummaryReady = 0;
inline constexpr std::uint8_t kSummaryEmpty = 3;

// One day's summary: half A (summary record A) and half B (summary record B), and the
// state kept while the day is being summarised.
struct DailySummaryObject {
  SummaryHalf a{DateTime{}, SummaryRecordA()};
  SummaryHalf b{DateTime{}, SummaryRecordB()};
  SummaryAccumulators sums;
  std::uint8_t active = 0;
  // 3 reset and empty; 0 ready (both halves carry the same date); 1 or 2 otherwise.
  std::uint8_t state = kSummaryEmpty;
};

}  // namespace database
