#pragma once

// The station's time zone: the list of 47 zones people pick from, each a text that begins
// with its offset from GMT, and the offsets typed in its place.

#include <optional>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace reports {

inline constexpr int kZoneCount = 47;
inline constexpr int kDefaultZone = 4;
inline constexpr double kDefaultGmtOffset = -8.0;

// The text of zone `index`. REQUIRES: 0 <= index < kZoneCount
std::string zoneText(int index);

// The offset a zone text begins with: characters 5-7 the signed hours, 9-10 the minutes
// ("(GMT-03.30)" is -3.5), 0 for "(GMT)". Nothing when the text does not begin so.
std::optional<double> zoneTextOffset(std::string_view text);

// What the report shows for the station's zone: the list text, or for an index outside
// the list a label made from the offset, "(GMT+05:30)", "(GMT)" for 0.
std::string zoneLabel(int index, double gmtOffsetHours);

// An offset typed in place of a zone: a number from -12 to 12. Fails (kBadArgument) with
// "Seleccione una zona horaria." when empty, with the out-of-range or not-valid message
// otherwise.
platform::Result<double> parseTypedOffset(std::string_view text);

}  // namespace reports
