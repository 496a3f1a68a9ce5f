#pragma once

// The user's date and time conventions, read from "intl.ini" in the program directory:
// section [intl], keys iDate (0 month-day-year, 1 day-month-year, 2 year-month-day),
// sDate (date separator), iTime (1 = 24-hour clock), sTime (time separator).

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/status.h"

namespace platform {

struct IntlSettings {
  int dateOrder = 1;
  char dateSeparator = '-';
  bool clock24 = true;
  char timeSeparator = ':';
};

inline constexpr std::string_view kIntlFileName = "intl.ini";

// Settings from the text of an intl.ini. Missing keys, and values that cannot be used
// (an order outside 0 to 2, a separator that is not a printable ASCII character), keep
// their defaults. Key and section names are matched without regard to case; CRLF and LF
// line ends are both accepted.
IntlSettings parseIntlSettings(std::string_view text);

// Reads intl.ini from `programDir`. A missing file gives the defaults; any other failure
// to read it is returned.
Result<IntlSettings> readIntlSettings(FileSystem& files, const std::string& programDir);

}  // namespace platform
