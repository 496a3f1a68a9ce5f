#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"
#include "station/data_sets.h"

namespace station {

// The answers creating a station may need from a person.
class StationPrompts {
 public:
  virtual ~StationPrompts() = default;
  // A yes/no question; true for yes.
  virtual bool ask(std::string_view title, std::string_view text) = 0;
  virtual void showError(std::string_view text) = 0;
};

struct NewStation {
  std::string name;
  std::string parentDir;
  std::uint16_t model = 5;  // Cirrant Pro
};

// Creates a station directory below `parentDir` named after the station (its first eight
// letters and digits) with its tree, its default data lists and its record. When the
// directory exists already the person is asked whether to use it; a STATION.CFG found
// there is first kept in its Backup directory, so no other station's settings are lost.
// Returns the new station's directory; the caller opens it. Errors are shown through
// `prompts` and returned; kCancelled when the person said no.
platform::Result<std::string> createStation(platform::FileSystem& files, const NewStation& request,
                                            std::vector<DataSet> dataSets, StationPrompts& prompts);

}  // namespace station
