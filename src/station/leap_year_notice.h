#pragma once

#include <string_view>

namespace station {

// The older consoles (Basalt, Tessel, Lumeno) know no 29 February; around 1 March the
// program shows their owners the text file that tells how to set the date right.
inline constexpr std::string_view kLeapYearNoticeFile = "LEAP.TXT";  // in the program directory
inline constexpr int kLeapYearNoticeTitle = 61858;

// True when the date lies fewer than 21 days before or after 1 March of its own year:
// the days in which the notice is shown. False for a date that is not a calendar date.
bool leapYearNoticeDue(int year, int month, int day);

}  // namespace station
