#pragma once

// The pictures' one font: 5 × 7 pixel glyphs in a 6 × 9 cell (a blank column to the
// right, two rows below for descenders), covering printable ASCII and the letters and
// signs the unit and Spanish labels need: °, ², á, é, í, ó, ú, ñ. Capitals with accents
// are drawn as their plain letter, any other character as "?".

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace publish {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 9;  // rows 0-6 the letter body, 7-8 descenders
inline constexpr int kCellWidth = 6;

// Columns left to right; bit r of a column is row r from the top.
using Glyph = std::array<std::uint16_t, kGlyphWidth>;

const Glyph& glyphFor(char32_t c);

// The code points of UTF-8 text; a malformed byte becomes U+FFFD.
std::vector<char32_t> decodeUtf8(std::string_view text);

}  // namespace publish
