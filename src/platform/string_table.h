#pragma once

#include <string>
#include <string_view>

namespace platform {

// The program's texts by number, as the messages and reports cite them.
// Returns an empty view for a number that has no text.
std::string_view stringText(int id);

// The text for `id`, or "#<id>" when the table has none, so a missing text shows.
std::string loadString(int id);

// Whether `text` is one of the table's texts: what people read comes from the table.
bool isTableText(std::string_view text);

}  // namespace platform
