#pragma once

// Hand-made days for the NOAA summaries: each field written at its byte offset in the
// summary records, so the expectations do not lean on the readers under test.

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "database/weather_database.h"
#include "platform/testing/mem_file_system.h"

namespace noaa_test {

inline constexpr int kNone = -32768;  // a field stored as no data

struct HandDay {
  int day = 1;
  int minutes = 1440;
  int highTenths = kNone, highTime = 0;
  int lowTenths = kNone, lowTime = 0;  // kNone: stored as the untouched low 0x7FFF
  int meanTenths = kNone;
  int rainThousandths = 0;
  int meanWindTenths = kNone;
  int highWindTenths = kNone, highWindTime = 0;
  int heatingTenths = kNone, coolingTenths = kNone;
  std::vector<std::pair<int, int>> directionMinutes;  // bin, minutes
};

inline void put16(records::Record88& r, std::size_t off, int v) {
  r.setI16(off, static_cast<std::int16_t>(v));
}

inline void put12(records::Record88& r, std::size_t off, int index, int v) {
  auto& b = r.bytes();
  const std::size_t at = off + 3 * static_cast<std::size_t>(index / 2);
  if (index % 2 == 0) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 2] = static_cast<std::uint8_t>((b[at + 2] & 0xF0) | ((v >> 8) & 0x0F));
  } else {
    b[at + 1] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 2] = static_cast<std::uint8_t>((b[at + 2] & 0x0F) | ((v >> 4) & 0xF0));
  }
}

// Summary A: minutes at 2, high 4 (slot 0), low 6 (slot 1), mean 12, high wind 44 (slot
// 14), mean wind 46, rain 54, slots from 61. Summary B: heating 28, direction minutes 36,
// cooling 75.
inline database::DailySummaryObject summaryOf(int year, int month, const HandDay& d) {
  database::DailySummaryObject s;
  s.a.date = records::DateTime::fromDate(year, month, d.day);
  s.b.date = s.a.date;
  records::Record88& a = s.a.record;
  records::Record88& b = s.b.record;
  put16(a, 2, d.minutes);
  put16(a, 4, d.highTenths);
  put12(a, 61, 0, d.highTime);
  put16(a, 6, d.lowTenths == kNone ? 0x7FFF : d.lowTenths);
  put12(a, 61, 1, d.lowTime);
  put16(a, 12, d.meanTenths);
  put16(a, 44, d.highWindTenths);
  put12(a, 61, 14, d.highWindTime);
  put16(a, 46, d.meanWindTenths);
  put16(a, 54, d.rainThousandths);
  put16(b, 28, d.heatingTenths);
  put16(b, 75, d.coolingTenths);
  for (auto [bin, minutes] : d.directionMinutes) put12(b, 36, bin, minutes);
  s.state = database::kSummaryReady;
  return s;
}

// An archive record of `interval` minutes stamped `minutes`, outside temperature in tenths
// of a degree F (kNone: no data).
inline database::WeatherDataObject archiveAt(int year, int month, int day, int minutes,
                                             int interval, int tempTenths) {
  database::WeatherDataObject obj;
  obj.date = records::DateTime::fromDate(year, month, day, static_cast<std::uint16_t>(minutes));
  obj.record.setU8(1, static_cast<std::uint8_t>(interval));
  put16(obj.record, 4, minutes);
  put16(obj.record, 6, tempTenths);
  return obj;
}

// "%s" of printf-style formats, for expectations written from the report layouts.
template <typename... Args>
std::string fmt(const char* format, Args... args) {
  char buf[512];
  std::snprintf(buf, sizeof buf, format, args...);
  return buf;
}

inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      out.push_back(text.substr(start));
      break;
    }
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

}  // namespace noaa_test
