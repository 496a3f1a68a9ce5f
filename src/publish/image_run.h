#pragma once

// Drawing a profile's images for an upload run: each selected picture the station's
// sensors allow is drawn and written to Images/Profile<n>/ below the station directory.
// Only the pictures written in this run are returned, so a stale picture is never sent
// as current.

#include <cstdint>
#include <string>
#include <vector>

#include "database/weather_database.h"
#include "link/sensor_image.h"
#include "platform/file_system.h"
#include "publish/image_catalogue.h"
#include "publish/image_history_data.h"
#include "quantities/record_values.h"
#include "records/month_format.h"
#include "station/station_config.h"

namespace publish {

// A profile's choice of pictures.
struct ImageSelection {
  std::uint64_t currentMask = 0;  // bit i: the current-data image of text 8608 + i
  std::uint64_t historyMask = 0;  // bit i: the history image of text 8704 + i
  std::uint8_t size = 1;          // 0 "Pequeño", 1 "Med.", 2 "Grande", 3 "Franja"
  std::uint8_t options = 0;       // kOptionBlackLines, kOptionSafeColours
};

struct ImageInputs {
  platform::FileSystem& files;
  std::string stationDir;
  const station::StationConfig& config;
  quantities::ValueContext values;
  const stationlink::SensorImage* current = nullptr;  // null: no reading, values "---"
  database::WeatherDatabase* database = nullptr;      // null: no records
  records::DateTime now;                              // local time the charts end at
  std::string outputDirectory;  // where to write; empty: the profile's image directory
};

struct WrittenImage {
  ImageFamily family;
  std::string directory;     // the profile's image directory, ending in "/"
  std::string fileName;
  std::string subdirectory;  // the profile's upload subdirectory for this kind of image

  std::string path() const { return directory + fileName; }
};

// What happened to the pictures that were not written.
struct ImageRunLog {
  std::vector<std::string> messages;  // event-log lines, in order
  bool errors = false;                // a picture could not be written
};

// "<station>/Images/Profile<n>/".
std::string profileImageDirectory(const std::string& stationDir, int profileNumber);

// Draws the selected current-data images, then the history images. A picture whose
// sensors the station lacks logs its message and is skipped; one that cannot be written
// logs 28026 with its name and flags errors; the run goes on with the next picture.
std::vector<WrittenImage> drawProfileImages(const ImageInputs& inputs, int profileNumber,
                                            const ImageSelection& selection,
                                            const std::string& currentSubdirectory,
                                            const std::string& historySubdirectory,
                                            ImageRunLog& log);

}  // namespace publish
