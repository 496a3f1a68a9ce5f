#include "station/record_bytes.h"

#include <algorithm>

#include "station/text_encoding.h"

namespace station {

std::string_view rawText(std::span<const std::byte> bytes, std::size_t offset,
                         std::size_t maxLength) {
  if (offset >= bytes.size()) return {};
  const std::size_t limit = std::min(maxLength, bytes.size() - offset);
  const char* start = reinterpret_cast<const char*>(bytes.data() + offset);
  std::size_t len = 0;
  while (len < limit && start[len] != '\0') ++len;
  return {start, len};
}

std::string loadText(std::span<const std::byte> bytes, std::size_t offset, std::size_t maxLength) {
  return decodeStoredText(rawText(bytes, offset, maxLength));
}

void storeText(std::span<std::byte> bytes, std::size_t offset, std::size_t width,
               std::size_t maxLength, std::string_view text) {
  const std::string_view kept = cutAtCharBoundary(text.substr(0, text.find('\0')), maxLength);
  for (std::size_t i = 0; i < width; ++i) {
    bytes[offset + i] = i < kept.size() ? static_cast<std::byte>(kept[i]) : std::byte{0};
  }
}

}  // namespace station
