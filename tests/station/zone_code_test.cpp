#include "station/zone_code.h"

#include <gtest/gtest.h>

#include "station/station_config.h"

namespace station {
namespace {

struct ZoneCase {
  const char* name;
  double latitude;
  double longitude;
  std::uint16_t zone;
};

TEST(ZoneCode, Examples) {
  constexpr ZoneCase kCases[] = {
      {"coast west of the border", 37.6, -122.1, 2},
      {"inland east of the band", 37.6, -120.5, 1},
      {"second box, outside the first", 30.5, -5.0, 1},
      {"north of both boxes", 50.0, 0.0, 0},
      {"desert east of -112 in the north", 40.0, -111.0, 0},
      {"far west row 0", 41.0, -124.0, 2},
      {"west of the last row's slant", 31.0, -116.5, 2},
      {"east of the last row", 32.0, -115.0, 1},
      {"north-east of the northern slant", 41.0, -113.0, 0},
      {"east of the southern slant", 36.0, -111.0, 0},
      {"west of the southern slant", 33.0, -111.0, 1},
  };
  for (const ZoneCase& c : kCases)
    EXPECT_EQ(computeZoneCode(c.latitude, c.longitude), c.zone) << c.name;
}

TEST(ZoneCode, UnsetLocationGivesZero) {
  StationConfig c;  // latDeg is -500 in a new record
  c.set(layout::kLatitude, 37.6F);
  c.set(layout::kLongitude, -122.1F);
  c.setZoneCode(2);
  updateZoneCode(c);
  EXPECT_EQ(c.zoneCode(), 0);
  c.set(layout::kLatDeg, std::int16_t{37});
  updateZoneCode(c);
  EXPECT_EQ(c.zoneCode(), 2);
}

}  // namespace
}  // namespace station
