#include "publish/tag_table.h"

#include <string>
#include <unordered_map>

#include "platform/string_table.h"

namespace publish {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string folded(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = lowerAscii(c);
  return out;
}

using TagMap = std::unordered_map<std::string, int>;

// Earlier numbers win over later ones with the same text, as the value tags come first.
void addRange(TagMap& map, int first, int last) {
  for (int id = first; id <= last; ++id) {
    const std::string_view text = platform::stringText(id);
    if (!text.empty()) map.emplace(folded(text), id);
  }
}

const TagMap& tagMap() {
  static const TagMap map = [] {
    TagMap m;
    addRange(m, kFirstValueTag, kLastValueTag);
    addRange(m, kFirstUnitTag, kLastUnitTag);
    return m;
  }();
  return map;
}

}  // namespace

std::optional<int> findTag(std::string_view comment) {
  const TagMap& map = tagMap();
  const auto it = map.find(folded(comment));
  if (it == map.end()) return std::nullopt;
  return it->second;
}

}  // namespace publish
