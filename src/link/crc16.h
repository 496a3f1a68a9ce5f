#pragma once

#include <cstdint>
#include <span>

namespace stationlink {

// CRC-16/XMODEM (polynomial 0x1021, initial value 0, no reflection, no final XOR), the check
// the console puts on every binary block. A block followed by its CRC, high byte first,
// leaves the CRC at 0.
std::uint16_t crc16Update(std::uint16_t crc, std::uint8_t byte);
std::uint16_t crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0);

}  // namespace stationlink
