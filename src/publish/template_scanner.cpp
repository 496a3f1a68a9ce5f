#include "publish/template_scanner.h"

namespace publish {

namespace {

constexpr std::string_view kOpen = "<!--";
constexpr std::string_view kClose = "-->";

}  // namespace

void fillLine(std::string_view line, const TagReplacer& replace, std::string& out) {
  std::size_t copied = 0;  // everything before this is in `out`
  std::size_t from = 0;    // where the next "<!--" is looked for
  while (true) {
    const std::size_t start = line.find(kOpen, from);
    if (start == std::string_view::npos) break;
    const std::size_t close = line.find(kClose, start + kOpen.size());
    if (close == std::string_view::npos) break;
    if (close == start + kOpen.size()) {
      from = start + kOpen.size();
      continue;
    }
    const std::size_t end = close + kClose.size();
    const std::string_view comment = line.substr(start, end - start);
    if (comment.size() <= kLongestTagText) {
      if (std::optional<std::string> text = replace(comment)) {
        out.append(line.substr(copied, start - copied));
        out.append(*text);
        copied = end;
      }
    }
    from = end;
  }
  out.append(line.substr(copied));
}

}  // namespace publish
