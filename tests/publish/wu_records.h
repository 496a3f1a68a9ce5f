#pragma once

// Archive records with chosen readings, stored one day at a time, for the update tests.

#include <gtest/gtest.h>

#include <vector>

#include "database/weather_database.h"
#include "quantities/record_values.h"

namespace wutest {

inline constexpr float kMissing = -32768.0f;

struct Reading {
  int minutes;        // of the day, 1-1440
  int directionCode;  // 0-15, 255 none
  float windMph;
  float gustMph;
  float tempF;
  int rainTips;  // of 0.01 in
  float barometerInHg;
  float humidity;
};

inline database::ArchiveRecord recordOf(const Reading& r) {
  quantities::Units units;
  platform::IntlSettings intl;
  const quantities::ValueContext ctx{units, intl};
  database::ArchiveRecord rec;
  rec.setTimeOfDay(static_cast<std::int16_t>(r.minutes));
  quantities::SetWeatherData(rec, 0x0, r.tempF, 1, ctx);
  quantities::SetWeatherData(rec, 0x101C0, r.humidity, 1, ctx);
  quantities::SetWeatherData(rec, 0x20080, r.windMph, 1, ctx);
  quantities::SetWeatherData(rec, 0x20880, r.gustMph, 1, ctx);
  quantities::SetWeatherData(rec, 0x300C0, static_cast<float>(r.directionCode), 1, ctx);
  quantities::SetWeatherData(rec, 0x400E0, r.barometerInHg, 1, ctx);
  quantities::SetRainData(rec, static_cast<unsigned>(r.rainTips), 1);
  return rec;
}

// Stores the readings as the records of one day (the day must come after the stored ones).
inline void storeDay(database::WeatherDatabase& db, int year, int month, int day,
                     const std::vector<Reading>& readings) {
  database::DailySummaryObject summary;
  summary.a.date = database::DateTime::fromDate(year, month, day);
  summary.b.date = summary.a.date;
  ASSERT_TRUE(db.EditSummaryRecord(summary).isOk());
  for (const Reading& r : readings) {
    database::WeatherDataObject obj;
    obj.record = recordOf(r);
    obj.date = database::DateTime::fromDate(year, month, day);
    obj.date.setMinutes(static_cast<std::uint16_t>(r.minutes));
    ASSERT_TRUE(db.AppendArchiveRecord(obj).isOk());
  }
  ASSERT_TRUE(db.flush().isOk());
}

}  // namespace wutest
