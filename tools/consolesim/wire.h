#pragma once

// Byte-level helpers shared by everything the simulated console sends: the CRC that
// protects its binary blocks and little-endian stores into byte spans.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace consolesim {

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr std::uint8_t kEsc = 0x1B;
constexpr std::uint8_t kLf = 0x0A;
constexpr std::uint8_t kCr = 0x0D;

// CRC-16 with polynomial 0x1021, initial value `crc`, no reflection, no final XOR.
// Computed bit by bit on purpose: the program uses a table, so the two sides share no code.
std::uint16_t crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0);

// Appends the CRC of `block` to it, high byte first, as the console sends it.
void appendCrc(std::vector<std::uint8_t>& block);

// REQUIRES: offset + 2 <= bytes.size()
inline void putU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}
inline void putI16(std::span<std::uint8_t> bytes, std::size_t offset, int value) {
  putU16(bytes, offset, static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
}
inline std::uint16_t getU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

}  // namespace consolesim
