#include "link/crc16.h"

#include <array>

namespace stationlink {

namespace {

constexpr std::array<std::uint16_t, 256> makeTable() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned crc = i << 8;
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
    }
    table[i] = static_cast<std::uint16_t>(crc);
  }
  return table;
}

constexpr std::array<std::uint16_t, 256> kTable = makeTable();

}  // namespace

std::uint16_t crc16Update(std::uint16_t crc, std::uint8_t byte) {
  return static_cast<std::uint16_t>(kTable[((crc >> 8) ^ byte) & 0xFF] ^ (crc << 8));
}

std::uint16_t crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc) {
  for (std::uint8_t b : bytes) crc = crc16Update(crc, b);
  return crc;
}

}  // namespace stationlink
