#pragma once

// A current-data picture: the quantity's name, a small gauge (a compass card for the wind
// direction) and the value with its unit, or "---" when there is no value.

#include <string>

#include "publish/image_style.h"
#include "publish/image_values.h"
#include "publish/raster.h"

namespace publish {

struct GaugeRange {
  double low;
  double high;
};

// The gauge's scale in user units for the image's quantity, widened to take in `value`.
GaugeRange gaugeRange(const ImageKind& kind, const quantities::Units& units, double value);

Raster drawCurrentPicture(const ImageKind& kind, const std::string& title, const ShownValue& value,
                          const quantities::Units& units, int sizeCode);

}  // namespace publish
