#pragma once

// The bulletin: one reading of the current conditions as a station owner reads it, in
// the user's units and date conventions, with a line for each sensor the station has.

#include <string>

#include "link/sensor_image.h"
#include "platform/clock.h"
#include "platform/intl_settings.h"
#include "quantities/units.h"
#include "station/station_config.h"

namespace frame {

// A header line with the station's name and the date and time of the reading, then one
// "label  value unit" line per sensor the station's model and sensor masks say it has,
// labels padded to one column. A value the console did not report shows as "---" with no
// unit. Lines end in LF. Pure: reads nothing but its arguments and the string table.
std::string bulletinText(const stationlink::SensorImage& image,
                         const station::StationConfig& config, const quantities::Units& units,
                         const platform::IntlSettings& intl, const platform::CivilTime& readAt);

}  // namespace frame
