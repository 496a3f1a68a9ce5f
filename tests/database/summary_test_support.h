#pragma once

// Helpers for the summary and rain tests: archive records built field by field at the
// byte offsets of the month-file layout, and expected summary records written the same
// way, so that the expectations do not lean on the layout constants under test.

#include <array>
#include <cstdint>
#include <sstream>
#include <string>

#include "database/weather_objects.h"
#include "platform/intl_settings.h"
#include "quantities/record_values.h"
#include "quantities/units.h"

namespace summary_test {

using Bytes = std::array<std::uint8_t, 88>;

inline void put16(Bytes& b, std::size_t off, int v) {
  const auto u = static_cast<std::uint16_t>(static_cast<std::int16_t>(v));
  b[off] = static_cast<std::uint8_t>(u & 0xFF);
  b[off + 1] = static_cast<std::uint8_t>(u >> 8);
}

// Packed 12-bit value `index` of the field at `off`: pair g at off + 3g, value 2g in
// b0 and the low nibble of b2, value 2g+1 in b1 and the high nibble of b2.
inline void put12(Bytes& b, std::size_t off, int index, int v) {
  const std::size_t at = off + 3 * static_cast<std::size_t>(index / 2);
  if (index % 2 == 0) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 2] = static_cast<std::uint8_t>((b[at + 2] & 0xF0) | ((v >> 8) & 0x0F));
  } else {
    b[at + 1] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 2] = static_cast<std::uint8_t>((b[at + 2] & 0x0F) | ((v >> 4) & 0xF0));
  }
}

// A freshly initialised archive record, written out from the record table.
inline Bytes freshArchive() {
  Bytes b{};
  b.fill(0xFF);
  b[0] = 1;
  b[1] = b[2] = b[3] = 0;
  for (std::size_t off = 4; off <= 34; off += 2) put16(b, off, -32768);
  b[28] = b[29] = 0xFF;
  put16(b, 20, 0);  // rain
  put16(b, 30, 0);  // wind samples
  for (std::size_t off = 42; off <= 54; off += 2) put16(b, off, -32768);
  return b;
}

inline database::WeatherDataObject record(const Bytes& b, int year, int month, int day) {
  database::WeatherDataObject obj;
  obj.record = records::ArchiveRecord(b);
  obj.date = records::DateTime::fromDate(year, month, day,
                                          static_cast<std::uint16_t>(b[4] | (b[5] << 8)));
  return obj;
}

// Names the fields of two records that differ, for a readable failure.
inline std::string diff(const Bytes& want, const records::RecordBytes& got) {
  std::ostringstream out;
  for (std::size_t i = 0; i < want.size(); ++i) {
    if (want[i] != got[i]) {
      out << "byte " << i << ": want 0x" << std::hex << int(want[i]) << " got 0x" << int(got[i])
          << std::dec << "\n";
    }
  }
  return out.str();
}

// Units and conventions of a user who keeps the internal units.
struct Context {
  quantities::Units units;
  platform::IntlSettings intl;
  quantities::ValueContext ctx{units, intl, 1.0};
};

}  // namespace summary_test
