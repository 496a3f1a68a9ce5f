#pragma once

#include <string>

#include "database/station_generator.h"
#include "database/weather_database.h"
#include "platform/testing/mem_file_system.h"

namespace database::testing {

// Appends a day's summary pair and archive records at the given times.
inline platform::Status appendDay(WeatherDatabase& db, int year, int month, int day,
                                  std::initializer_list<int> minutes) {
  DailySummaryObject s;
  s.a.date = DateTime::fromDate(year, month, day);
  s.b.date = s.a.date;
  if (platform::Status st = db.EditSummaryRecord(s); !st) return st;
  WeatherDataObject obj;
  for (int t : minutes) {
    obj.record = ArchiveRecord();
    obj.record.setU8(kArcInterval, 5);
    obj.record.setTimeOfDay(static_cast<std::int16_t>(t));
    obj.date = DateTime::fromDate(year, month, day, static_cast<std::uint16_t>(t));
    if (platform::Status st = db.AppendArchiveRecord(obj); !st) return st;
  }
  return platform::Status::ok();
}

}  // namespace database::testing
