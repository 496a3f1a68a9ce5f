#pragma once

// Texts of the database views: string-table texts with their %s filled in order, and
// columns padded by characters rather than bytes, so that accented headings line up.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "quantities/sensor_code.h"
#include "quantities/units.h"

namespace database {

// Text `id` of the string table with each "%s" replaced by the next argument.
std::string viewText(int id, std::initializer_list<std::string_view> args = {});

// "1 día" / "3 días": the singular text for one, else the plural with the count.
std::string countText(long long count, int singularId, int pluralId);

// Pads to `width` characters (UTF-8 continuation bytes take no column).
std::string padLeft(const std::string& text, std::size_t width);
std::string padRight(const std::string& text, std::size_t width);

// The unit text shown after a value of `code`: none for the UV index, whose name already
// says what it is, and the air-density unit that no unit class carries.
std::string shownUnit(const quantities::Units& units, quantities::SensorCode code);

// A value as it stands alone after its name: without the padding of a column, and an air
// density's leading zero (dropped for the columns) put back.
std::string standaloneValue(const std::string& value);

// The text with its first letter in capitals (the names of the views start with one).
std::string capitalised(std::string text);

}  // namespace database
