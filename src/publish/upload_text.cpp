#include "publish/upload_text.h"

#include "platform/string_table.h"

namespace publish {

std::string fillPattern(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 >= pattern.size()) {
      out += pattern[i];
      continue;
    }
    if (pattern[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    while (j < pattern.size() && pattern[j] == 'l') ++j;
    if (j < pattern.size() && (pattern[j] == 's' || pattern[j] == 'd')) {
      if (next != args.end()) out += *next++;
      i = j;
      continue;
    }
    out += pattern[i];
  }
  return out;
}

std::string message(int id, std::initializer_list<std::string_view> args) {
  return fillPattern(platform::loadString(id), args);
}

std::string replyForLog(std::string_view reply) {
  constexpr std::size_t kMaxReply = 250;
  std::string out;
  for (char c : reply) out += (c == '\r' || c == '\n') ? ' ' : c;
  if (out.size() > kMaxReply) {
    std::size_t cut = kMaxReply;
    // Never split a UTF-8 sequence: back up over continuation bytes.
    while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) --cut;
    out.resize(cut);
  }
  return out;
}

}  // namespace publish
