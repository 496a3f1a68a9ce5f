#pragma once

// Texts of the string table filled in printf style. The table's texts are the program's
// own; the arguments are data and must match the text's conversions.

#include <string>

namespace publish {

std::string formatText(int id, ...);

// `text` with line breaks turned into blanks and cut to `limit` bytes, for the event log.
std::string oneLine(std::string text, std::size_t limit);

}  // namespace publish
