#include "publish/publish_text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "platform/string_table.h"

namespace publish {

std::string formatText(int id, ...) {
  const std::string format = platform::loadString(id);
  va_list args;
  va_start(args, id);
  va_list again;
  va_copy(again, args);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int n = std::vsnprintf(nullptr, 0, format.c_str(), args);
  std::string out;
  if (n > 0) {
    std::vector<char> buf(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), format.c_str(), again);
    out.assign(buf.data(), static_cast<std::size_t>(n));
  }
#pragma GCC diagnostic pop
  va_end(again);
  va_end(args);
  return out;
}

std::string oneLine(std::string text, std::size_t limit) {
  std::replace_if(text.begin(), text.end(), [](char ch) { return ch == '\n' || ch == '\r'; }, ' ');
  if (text.size() > limit) text.resize(limit);
  return text;
}

}  // namespace publish
