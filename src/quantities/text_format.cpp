#include "quantities/text_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace quantities {

std::string fixedText(double v, int decimals) {
  if (!std::isfinite(v) || decimals < 0) return std::string(kDash3);
  std::array<char, kValueBufferBytes - 1> buf{};
  auto [end, ec] =
      std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return std::string(kDash3);
  return std::string(buf.data(), end);
}

char* copyToBuffer(std::string_view text, char* buffer, std::size_t size) {
  if (buffer == nullptr || size == 0) return buffer;
  std::size_t n = std::min(text.size(), size - 1);
  // Back off over UTF-8 continuation bytes so no character is cut in half.
  if (n < text.size()) {
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  }
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return buffer;
}

std::size_t characterCount(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

}  // namespace quantities
