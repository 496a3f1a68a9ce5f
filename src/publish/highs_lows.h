#pragma once

// The highs and lows the web pages show: today's, this month's and this year's, with the
// time of day of today's. They come from the daily summaries of the station's database,
// today's merged with the current readings seen since the last download, so they are the
// same for every console model.

#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "database/weather_database.h"
#include "link/sensor_image.h"
#include "quantities/date_text.h"
#include "station/station_config.h"

namespace publish {

// The quantities that have highs or lows, in internal units: °F, %, inHg, mph, inches per
// hour, W/m², UV index.
enum class Extreme : std::size_t {
  kOutsideTemp,
  kInsideTemp,
  kOutsideHumidity,
  kInsideHumidity,
  kDewPoint,
  kWindChill,
  kHeatIndex,
  kThsw,
  kBarometer,
  kWindSpeed,
  kRainRate,
  kSolarRadiation,
  kUvIndex,
};
inline constexpr std::size_t kExtremeCount = 13;

struct ExtremeValue {
  double value = 0;
  int minutes = -1;  // time of day, 0-1440; -1 when not known
};

struct HighLow {
  std::optional<ExtremeValue> high;
  std::optional<ExtremeValue> low;
};

// One period's highs and lows. A high is replaced only by a greater value and a low only
// by a smaller one, so the earliest of equal extremes keeps its time.
class PeriodExtremes {
 public:
  const HighLow& operator[](Extreme e) const { return ranges_[static_cast<std::size_t>(e)]; }
  void offer(Extreme e, double value, int minutes);
  // Takes in every high and low of `other`.
  void merge(const PeriodExtremes& other);
  void mergeOne(Extreme e, const HighLow& other);

 private:
  std::array<HighLow, kExtremeCount> ranges_{};
};

struct HighsLows {
  PeriodExtremes day;
  PeriodExtremes month;
  PeriodExtremes year;
};

// A current reading (calibrated) and the time of day it was taken on `date`.
struct TimedReading {
  stationlink::SensorImage image;
  quantities::Date date;
  int minutes = 0;
};

// The highs and lows of one stored daily summary.
PeriodExtremes summaryExtremes(const database::DailySummaryObject& summary);
// The values of one current reading; rain rate uses the station's rain collector.
PeriodExtremes readingExtremes(const stationlink::SensorImage& image, int minutes,
                               const station::StationConfig& config);

// Today's highs and lows from today's summary and the readings of `today`; the month's and
// the year's from the summaries of the month and year up to today, with today's. A null
// database gives the readings alone.
HighsLows computeHighsLows(database::WeatherDatabase* database, quantities::Date today,
                           std::span<const TimedReading> readings,
                           const station::StationConfig& config);

}  // namespace publish
