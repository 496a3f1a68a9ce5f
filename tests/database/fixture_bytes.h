#pragma once

// Month files written byte by byte from the format's tables, independently of the code
// under test: offsets here are literal numbers on purpose.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace database::testing {

inline void put16(std::string& b, std::size_t at, int v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

inline void put32(std::string& b, std::size_t at, std::int64_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A header: "WDAT5.3", seven zeros, versions 5 and 3, the count, the day index.
// days: (day, count, start).
struct DaySpec {
  int day;
  int count;
  int start;
};

inline std::string headerBytes(int recordCount, const std::vector<DaySpec>& days) {
  std::string h(212, '\0');
  h.replace(0, 7, "WDAT5.3");
  h[14] = 5;
  h[15] = 3;
  put32(h, 16, recordCount);
  for (const DaySpec& d : days) {
    put16(h, 20 + 6 * static_cast<std::size_t>(d.day), d.count);
    put32(h, 20 + 6 * static_cast<std::size_t>(d.day) + 2, d.start);
  }
  return h;
}

// An 88-byte record of the given type with every other byte as given by `fill`.
inline std::string recordBytes(int type, char fill = '\0') {
  std::string r(88, fill);
  r[0] = static_cast<char>(type);
  return r;
}

// A minimal archive record stamped `minutes`, outside temperature `temp` tenths °F.
inline std::string archiveAt(int minutes, int temp = 700) {
  std::string r = recordBytes(1, static_cast<char>(0xFF));
  r[1] = 5;
  r[2] = 0;
  r[3] = 0;
  for (std::size_t at = 4; at < 56; at += 2) put16(r, at, 0x8000);
  r[28] = r[29] = r[36] = r[37] = static_cast<char>(0xFF);
  for (std::size_t at = 38; at < 42; ++at) r[at] = static_cast<char>(0xFF);
  put16(r, 20, 0);
  put16(r, 30, 0);
  put16(r, 4, minutes);
  put16(r, 6, temp);
  return r;
}

}  // namespace database::testing
