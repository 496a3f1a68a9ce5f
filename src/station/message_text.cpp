#include "station/message_text.h"

#include "platform/string_table.h"

namespace station {

std::string messageText(int id, std::initializer_list<std::string_view> args) {
  const std::string pattern = platform::loadString(id);
  std::string out;
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      const char k = pattern[i + 1];
      if (k == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (k == 's' || k == 'd') {
        if (next != args.end()) out += *next++;
        ++i;
        continue;
      }
    }
    out += pattern[i];
  }
  return out;
}

}  // namespace station
