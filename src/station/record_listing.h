#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "platform/file_system.h"
#include "platform/status.h"
#include "quantities/user_conventions.h"
#include "station/record_text.h"
#include "station/station_state.h"

namespace station {

struct ListingRequest {
  std::size_t list = 0;     // index of the station's data list
  std::size_t limit = 384;  // line length
  std::size_t firstColumn = 0;
  char separator = 0;           // 0: the fixed-width layout; else the delimited one
  std::int32_t fromPacked = 0;  // first day (year << 16 | month << 8 | day), 0 = from the start
  std::int32_t toPacked = 0;    // last day, 0 = to the end
};

// Writes the station's archive records as the record-to-text lines of one data list: the
// headings, then one line per record in the day range, in the user's units and date
// conventions.
platform::Status printRecords(platform::FileSystem& files, const StationState& station,
                              const ListingRequest& request,
                              const quantities::UserConventions& conventions, std::ostream& out);

}  // namespace station
