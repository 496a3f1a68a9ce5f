#include "consolesim/wire.h"

namespace consolesim {

std::uint16_t crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc) {
  for (std::uint8_t b : bytes) {
    crc = static_cast<std::uint16_t>(crc ^ (b << 8));
    for (int bit = 0; bit < 8; ++bit) {
      crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
  }
  return crc;
}

void appendCrc(std::vector<std::uint8_t>& block) {
  const std::uint16_t crc = crc16(block);
  block.push_back(static_cast<std::uint8_t>(crc >> 8));
  block.push_back(static_cast<std::uint8_t>(crc & 0xFF));
}

}  // namespace consolesim
