#include "station/zone_code.h"

#include "station/station_config.h"

namespace station {

namespace {

struct ZoneRow {
  double latitude;
  double westBound;
  double eastBound;
  double slope;
  double previousLatitude;
};

// The coastal band of the western box, north to south: west of the slanted border lies
// zone 2, east of it zone 1.
constexpr ZoneRow kZoneRows[] = {
    {40.0, -123.5, -123.0, 0.25, 42.0},       {36.5, -123.0, -121.0, 0.5714286, 40.0},
    {34.5, -121.0, -119.5, 0.75, 36.5},       {34.0, -119.5, -117.0, 5.0, 34.5},
    {30.99, -117.0, -116.0, 0.3322259, 34.0},
};

}  // namespace

std::uint16_t computeZoneCode(double lat, double lon) {
  if (lat >= 31 && lat <= 42 && lon >= -130 && lon <= -109) {
    if (lat > 37) {
      if (lon > -112) return 0;
      if (lon > -120 && lon <= -112 && lon > (42 - lat) * 1.6 - 120) return 0;
    } else if (lon > -112 && lon > (37 - lat) * 0.5 - 112) {
      return 0;
    }
    for (const ZoneRow& row : kZoneRows) {
      if (!(lat > row.latitude)) continue;
      if (lon > row.eastBound) return 1;
      if (lon <= row.westBound) return 2;
      const double border = (row.previousLatitude - lat) * row.slope + row.westBound;
      return lon > border ? 1 : 2;
    }
    return 0;
  }
  if (lat >= 30 && lat <= 45 && lon >= -10 && lon <= 45) return 1;
  return 0;
}

void updateZoneCode(StationConfig& config) {
  config.setZoneCode(config.locationSet() ? computeZoneCode(config.latitude(), config.longitude())
                                          : 0);
}

}  // namespace station
