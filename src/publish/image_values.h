#pragma once

// The values the pictures show, in the user's units: the current reading of an image's
// quantity, and the conversions and texts shared with the history charts.

#include <string>

#include "link/sensor_image.h"
#include "publish/image_catalogue.h"
#include "quantities/record_values.h"
#include "quantities/units.h"
#include "records/month_format.h"

namespace publish {

struct ShownValue {
  double value = quantities::kNoDataValue;  // user units; kNoDataValue for none
  std::string text = "---";
  std::string unit;                         // empty for quantities without a unit
};

// The current reading as an archive record, so that derived quantities and conversions
// come from the same code that reads the database.
records::ArchiveRecord recordOfReading(const stationlink::SensorImage& image);

// The image's current value; no reading (null) or a sensor without a value gives "---".
ShownValue currentValue(const ImageKind& kind, const stationlink::SensorImage* image,
                        const quantities::ValueContext& ctx,
                        const quantities::StationRainCollector& collector);

// An internal value (°F, inHg, mph, inches, miles) of the code's unit class in the
// user's units; kNoDataValue stays.
double userValue(const quantities::Units& units, quantities::SensorCode code, double internal);
// A user-unit value as the pictures write it: the code's decimals, "---" for none.
std::string valueText(const quantities::Units& units, quantities::SensorCode code, double value);

}  // namespace publish
