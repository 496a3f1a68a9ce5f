#include "link/current_conditions.h"

namespace stationlink {

platform::Result<SensorImage> readCurrentConditions(ConsoleLink& link) {
  SensorImage image = resetSensorImage();
  if (platform::Status s = link.GetSensorImage(image); !s) return s;
  return image;
}

}  // namespace stationlink
