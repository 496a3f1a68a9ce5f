#pragma once

// The tag vocabulary: the texts of the value tags and the unit tags, as the string table
// holds them, looked up ignoring letter case.

#include <optional>
#include <string_view>

namespace publish {

inline constexpr int kFirstValueTag = 8000;
inline constexpr int kLastValueTag = 8224;
inline constexpr int kFirstUnitTag = 8300;
inline constexpr int kLastUnitTag = 8310;

// The number of the tag whose whole text (from "<" to ">" inclusive) is `comment`, letter
// case ignored; the value tags are matched before the unit tags. Nothing for any other text,
// the stored texts that are no tags (8400 to 8444) among them.
std::optional<int> findTag(std::string_view comment);

}  // namespace publish
