#pragma once

// Finding the tags of one template line. A tag starts at "<!--" and ends at the first "-->"
// after it on the same line; an empty comment "<!---->" is no tag, and the scan goes on
// after its "<!--". A "<!--" without its "-->" on the line is plain text.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace publish {

// The longest comment text taken as a candidate tag; longer ones pass unchanged.
inline constexpr std::size_t kLongestTagText = 255;

// What a comment becomes: its replacement, or nothing to copy it unchanged.
using TagReplacer = std::function<std::optional<std::string>(std::string_view comment)>;

// Appends `line` to `out` with each comment the replacer knows replaced.
void fillLine(std::string_view line, const TagReplacer& replace, std::string& out);

}  // namespace publish
