#include "reports/sun_position.h"

#include <gtest/gtest.h>

#include "reports/clear_sky.h"

namespace reports {
namespace {

TEST(SunPosition, SunriseAndSunsetInUniversalTime) {
  struct Case {
    const char* name;
    int year, month, day;
    double latitude, longitude;
    double rise, set;  // hours of universal time
  };
  const Case kCases[] = {
      {"Greenwich, midsummer", 2000, 6, 21, 51.4769, 0.0, 3 + 43 / 60.0, 20 + 21 / 60.0},
      {"equator, March equinox", 2000, 3, 20, 0.0, 0.0, 6 + 4 / 60.0, 18 + 11 / 60.0},
      {"west of Greenwich, 7 hours later", 2006, 3, 20, 0.0, -105.0, 13 + 4 / 60.0,
       1 + 11 / 60.0 + 24},
  };
  for (const Case& c : kCases) {
    auto rise = eventTimeUniversal(c.year, c.month, c.day, c.latitude, c.longitude,
                                   kAltitudeSunriseSunset, true);
    auto set = eventTimeUniversal(c.year, c.month, c.day, c.latitude, c.longitude,
                                  kAltitudeSunriseSunset, false);
    ASSERT_TRUE(rise && set) << c.name;
    EXPECT_NEAR(*rise, c.rise, 4 / 60.0) << c.name;
    EXPECT_NEAR(*set, c.set, 4 / 60.0) << c.name;
  }
}

TEST(SunPosition, PolarDayHasNoSunriseOrSunset) {
  EXPECT_FALSE(eventTimeUniversal(2006, 6, 21, 70.0, 20.0, kAltitudeSunriseSunset, true));
  EXPECT_FALSE(eventTimeUniversal(2006, 6, 21, 70.0, 20.0, kAltitudeSunriseSunset, false));
  // The sun still sets far enough for civil twilight to begin at 50° N.
  EXPECT_FALSE(eventTimeUniversal(2006, 6, 21, 55.0, 0.0, kAltitudeAstronomical, true));
  EXPECT_TRUE(eventTimeUniversal(2006, 6, 21, 50.0, 0.0, kAltitudeCivil, true));
}

TEST(SunPosition, ElevationAtNoonAndMidnight) {
  // Equinox noon on the equator: the sun is nearly overhead; at midnight far below.
  EXPECT_NEAR(sunElevationDegrees(2000, 3, 20, 12 * 60 + 7, 0, 0, 0), 90, 1.0);
  EXPECT_LT(sunElevationDegrees(2000, 3, 20, 0, 0, 0, 0), -80);
  // Midsummer noon at 40° N, 8 hours west by the clock and 120° W: 90 − 40 + 23.44.
  EXPECT_NEAR(sunElevationDegrees(2006, 6, 21, 12 * 60 + 2, -8, 40, -120), 73.4, 0.5);
}

TEST(ClearSky, EstimateFollowsTheSunAndTheStationsHeight) {
  // Sun overhead at sea level near the equinox: 1.1 × 1367 × 1.0063 × 0.7.
  EXPECT_NEAR(clearSkyRadiation(90, 80, 0), 1059, 2);
  EXPECT_EQ(clearSkyRadiation(-1, 80, 0), 0);
  EXPECT_GT(clearSkyRadiation(30, 80, 6000), clearSkyRadiation(30, 80, 0));
  ClearSkySite site{40, -120, -8, 0};
  EXPECT_EQ(clearSkyEstimate(site, 2006, 6, 21, 0), 0);
  EXPECT_GT(clearSkyEstimate(site, 2006, 6, 21, 12 * 60), 900);
  EXPECT_LT(clearSkyEstimate(site, 2006, 12, 21, 12 * 60),
            clearSkyEstimate(site, 2006, 6, 21, 720));
}

}  // namespace
}  // namespace reports
