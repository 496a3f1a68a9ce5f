#pragma once

// Drawing an upload profile's web images for the open station now, as an upload run and
// `stratalog images draw` do: the console's current conditions are read once (values
// show as "---" when it does not answer), the records come from the station's database,
// and every message goes to the event log under the station's name.
//
// Upload runs pass the readings they gathered, so a run asks the console once.

#include <string>
#include <vector>

#include "frame/program.h"
#include "publish/image_run.h"
#include "publish/inet_config.h"
#include "publish/upload_run.h"

namespace frame {

struct ProfileImages {
  std::vector<publish::WrittenImage> written;
  publish::ImageRunLog log;
  // Why the console gave no current conditions; empty when it did (or none were needed).
  std::string readingError;
};

// Profile `number` (1 to 8) into its image directory, or into `outputDirectory`. With
// `reading` (the upload run's own) the console is not asked again.
// REQUIRES: a station is open.
ProfileImages drawProfileImagesNow(Program& program, const publish::UploadProfile& profile,
                                   int number, const stationlink::SensorImage* reading = nullptr,
                                   const std::string& outputDirectory = {});

// The files an upload run sends.
publish::DrawnImages uploadImageFiles(const ProfileImages& images);

}  // namespace frame
