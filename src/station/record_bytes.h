#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace station {

// Little-endian scalars over byte spans. Every record of the station files is read and
// written through these, never by copying a struct.
template <typename T>
concept RecordScalar = std::is_same_v<T, std::uint8_t> || std::is_same_v<T, std::int8_t> ||
    std::is_same_v<T, std::uint16_t> || std::is_same_v<T, std::int16_t> ||
    std::is_same_v<T, std::uint32_t> || std::is_same_v<T, std::int32_t> || std::is_same_v<T, float>;

// REQUIRES: offset + sizeof(T) <= bytes.size()
template <RecordScalar T>
T loadLe(std::span<const std::byte> bytes, std::size_t offset) {
  using U = std::make_unsigned_t<std::conditional_t<std::is_same_v<T, float>, std::uint32_t, T>>;
  U v = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    v = static_cast<U>(
        v | (static_cast<U>(std::to_integer<std::uint8_t>(bytes[offset + i])) << (8 * i)));
  }
  return std::bit_cast<T>(v);
}

// REQUIRES: offset + sizeof(T) <= bytes.size()
template <RecordScalar T>
void storeLe(std::span<std::byte> bytes, std::size_t offset, T value) {
  using U = std::make_unsigned_t<std::conditional_t<std::is_same_v<T, float>, std::uint32_t, T>>;
  const auto v = std::bit_cast<U>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i)
    bytes[offset + i] = static_cast<std::byte>((v >> (8 * i)) & 0xFF);
}

// A zero-terminated text in a fixed-width field, read up to the first zero and never past
// `maxLength` bytes, so a field that lost its terminator cannot run into the next one.
// The bytes are decoded as UTF-8, or as Windows-1252 when they are not UTF-8.
std::string loadText(std::span<const std::byte> bytes, std::size_t offset, std::size_t maxLength);

// Writes `text` cut to `maxLength` bytes at a character boundary, then zeros up to
// `width`, so that no tail of an earlier, longer value (a password) stays behind.
// REQUIRES: maxLength < width, offset + width <= bytes.size()
void storeText(std::span<std::byte> bytes, std::size_t offset, std::size_t width,
               std::size_t maxLength, std::string_view text);

// The raw bytes of a field up to its first zero, bounded by `maxLength`; no decoding.
std::string_view rawText(std::span<const std::byte> bytes, std::size_t offset,
                         std::size_t maxLength);

}  // namespace station
