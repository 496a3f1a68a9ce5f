#pragma once

// Hand-built station records for tests: bytes are placed at the offsets of the record's
// table by these helpers, never by the code under test.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace station::testing {

class RawRecord {
 public:
  explicit RawRecord(std::size_t size = 4096) : bytes_(size, '\0') {}

  RawRecord& u8(std::size_t at, std::uint8_t v) {
    bytes_.at(at) = static_cast<char>(v);
    return *this;
  }
  RawRecord& u16(std::size_t at, std::uint16_t v) {
    u8(at, v & 0xFF);
    return u8(at + 1, static_cast<std::uint8_t>(v >> 8));
  }
  RawRecord& u32(std::size_t at, std::uint32_t v) {
    u16(at, v & 0xFFFF);
    return u16(at + 2, static_cast<std::uint16_t>(v >> 16));
  }
  RawRecord& f32(std::size_t at, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return u32(at, bits);
  }
  // The text's bytes with no terminator of their own.
  RawRecord& text(std::size_t at, std::string_view t) {
    for (std::size_t i = 0; i < t.size(); ++i) u8(at + i, static_cast<std::uint8_t>(t[i]));
    return *this;
  }
  std::uint8_t byteAt(std::size_t at) const { return static_cast<std::uint8_t>(bytes_.at(at)); }
  const std::string& str() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace station::testing
