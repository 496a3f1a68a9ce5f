#pragma once

// Month file names ("2006-03.slg") and the discovery of a station's months.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace database {

struct MonthName {
  int year = 0;
  int month = 0;
  std::string fileName;  // as found in the directory (the extension may be in capitals)
};

// "%d-%02d.slg" from (year, month).
std::string monthFileName(int year, int month);

// Year and month from a name of the exact shape DDDD-DD.slg, the extension compared
// without regard to case; nullopt for any other name and for a month outside 1 to 12.
std::optional<MonthName> parseMonthFileName(std::string_view name);

struct MonthListing {
  std::vector<MonthName> months;     // chronological, one per (year, month)
  std::vector<std::string> ignored;  // month-shaped names left out, with the reason
};

// The month files of `directory` in chronological order. A second name for a month
// already listed (the same name in other capitals) is left out and named in `ignored`.
platform::Result<MonthListing> listMonthFiles(platform::FileSystem& fs,
                                              const std::string& directory);

}  // namespace database
