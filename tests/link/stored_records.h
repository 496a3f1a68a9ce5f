#pragma once

// What a station's database holds, read back through the database's own operations: the
// archive records' bytes, or their (packed date, minutes) stamps, in database order.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "database/weather_database.h"
#include "records/month_format.h"

namespace linktest {

inline std::vector<records::RecordBytes> storedRecords(platform::FileSystem& fs,
                                                       const std::string& dir) {
  database::WeatherDatabase db(fs);
  (void)db.open(dir);
  std::vector<records::RecordBytes> out;
  for (int i = 0; i < db.NumberOfRecordsInDataBase(); ++i) {
    database::WeatherDataObject obj;
    EXPECT_EQ(db.GetRecord(obj, i), 0);
    out.push_back(obj.record.bytes());
  }
  return out;
}

inline std::vector<std::pair<std::int32_t, int>> storedTimes(platform::FileSystem& fs,
                                                             const std::string& dir) {
  database::WeatherDatabase db(fs);
  (void)db.open(dir);
  std::vector<std::pair<std::int32_t, int>> out;
  for (int i = 0; i < db.NumberOfRecordsInDataBase(); ++i) {
    database::WeatherDataObject obj;
    EXPECT_EQ(db.GetRecord(obj, i), 0);
    out.emplace_back(obj.date.packed(), obj.date.minutes);
  }
  return out;
}

}  // namespace linktest
