#include <gtest/gtest.h>

#include "reports/clear_sky.h"
#include "reports/daylight_saving.h"
#include "station/station_config.h"
#include "station/station_setup.h"

namespace reports {
namespace {

TEST(AutomaticSaving, ChangesOnTheSundaysOfTheTableAtTwoInTheMorning) {
  struct Case {
    int year, month, day, minutes;
    double gmtOffset;
    bool southern;
    bool inForce;
  };
  // 2006 is year type 0: 2 April, 26 March, 29 October; 2010 is type 5: 4 April, 28 March,
  // 31 October.
  const Case kCases[] = {
      {2006, 7, 15, 720, -8, false, true},   // 37.6 N, -8 h: July is in saving
      {2006, 7, 15, 720, -8, true, false},   // the same date in the south is not
      {2006, 1, 15, 720, -8, true, true},    // January is, there
      {2006, 4, 2, 119, -8, false, false},   // west: the first Sunday of April
      {2006, 4, 2, 120, -8, false, true},    //
      {2006, 4, 1, 720, -8, false, false},   //
      {2006, 3, 26, 119, 1, false, false},   // east: the last Sunday of March
      {2006, 3, 26, 120, 1, false, true},    //
      {2006, 4, 1, 720, 1, false, true},     //
      {2006, 10, 29, 119, 1, false, true},   // both end on the last Sunday of October
      {2006, 10, 29, 120, 1, false, false},  //
      {2006, 10, 29, 119, -8, true, false},  // where the south starts
      {2006, 10, 29, 120, -8, true, true},   //
      {2010, 4, 4, 120, -5, false, true},    //
      {2010, 4, 3, 720, -5, false, false},   //
      {2010, 3, 28, 120, 0, false, true},    // offset 0 counts as east
      {2010, 10, 31, 120, 0, false, false},  //
      {2010, 10, 30, 720, 0, false, true},   //
      {1999, 7, 15, 720, -8, false, false},  // no rule before 2000
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(automaticSavingInForce(c.year, c.month, c.day, c.minutes, c.gmtOffset, c.southern),
              c.inForce)
        << c.year << "-" << c.month << "-" << c.day << " " << c.minutes << " min, offset "
        << c.gmtOffset << (c.southern ? " south" : "");
  }
}

TEST(ClearSkySite, NoneUntilBothLatitudeAndLongitudeAreEntered) {
  station::StationConfig fresh;
  EXPECT_FALSE(clearSkySiteFor(fresh));

  // The decimal fields alone do not make a position: the degrees say whether one is set.
  station::StationConfig decimalOnly;
  decimalOnly.set(station::layout::kLatitude, 40.5F);
  decimalOnly.set(station::layout::kLongitude, -3.7F);
  EXPECT_FALSE(clearSkySiteFor(decimalOnly));

  station::StationConfig placed;
  ASSERT_TRUE(station::setLocation(placed, 40.5, -3.7).isOk());
  station::StationConfig noLongitude = placed;
  noLongitude.set(station::layout::kLonDeg, station::kLocationNotSet);
  EXPECT_FALSE(clearSkySiteFor(noLongitude));
  station::StationConfig noLatitude = placed;
  noLatitude.set(station::layout::kLatDeg, station::kLocationNotSet);
  EXPECT_FALSE(clearSkySiteFor(noLatitude));

  placed.setGmtOffset(1.0F);
  placed.setElevation(2188);
  const auto site = clearSkySiteFor(placed);
  ASSERT_TRUE(site);
  EXPECT_NEAR(site->latitude, 40.5, 1e-4);
  EXPECT_NEAR(site->longitude, -3.7, 1e-4);
  EXPECT_EQ(site->gmtOffsetHours, 1.0);
  EXPECT_EQ(site->elevationFeet, 2188);
  EXPECT_EQ(site->saving, ClockSaving::kAutomatic);
  EXPECT_FALSE(site->southern);
}

TEST(ClearSkySite, SavingSetByHandFollowsDstOn) {
  station::StationConfig c;
  ASSERT_TRUE(station::setLocation(c, -33.9, 151.2).isOk());
  EXPECT_TRUE(clearSkySiteFor(c)->southern);
  c.setDstManual(true);
  EXPECT_EQ(clearSkySiteFor(c)->saving, ClockSaving::kNone);
  c.setDstOn(true);
  EXPECT_EQ(clearSkySiteFor(c)->saving, ClockSaving::kInForce);
  c.setDstManual(false);
  c.setConsoleDstManual(true);
  EXPECT_EQ(clearSkySiteFor(c)->saving, ClockSaving::kInForce);
}

// The minute of the station's clock at which the estimate is highest, and whether it is 0
// outside [firstLit, lastLit).
struct Day {
  int peakMinute = -1;
  bool darkOutside = true;
};

Day scan(const ClearSkySite& site, int year, int month, int day, int firstLit, int lastLit) {
  Day d;
  int best = -1;
  for (int m = 1; m <= 1440; ++m) {
    const int v = clearSkyEstimate(site, year, month, day, m);
    if (v > best) {
      best = v;
      d.peakMinute = m;
    }
    if ((m < firstLit || m >= lastLit) && v != 0) d.darkOutside = false;
  }
  return d;
}

TEST(ClearSkySite, EstimatePeaksAtSolarNoonOnTheStationsClock) {
  // 40.5 N 3.7 W, one hour east of Greenwich. Solar noon in universal time is
  // 12:00 + 3.7 × 4 min − the equation of time: about +1.7 min on 21 December and −1.7 min
  // on 21 June, so 12:13 and 12:16 UT; on the clock 13:13 in winter and, with an hour of
  // saving, 14:16 in summer. Sunrise and sunset lie near 08:35 and 17:50 in winter and
  // near 06:45 and 21:50 (saving) in summer.
  station::StationConfig c;
  ASSERT_TRUE(station::setLocation(c, 40.5, -3.7).isOk());
  c.setGmtOffset(1.0F);
  const ClearSkySite automatic = *clearSkySiteFor(c);
  c.setDstManual(true);
  c.setDstOn(true);
  const ClearSkySite byHand = *clearSkySiteFor(c);

  struct Case {
    const char* name;
    const ClearSkySite& site;
    int month, day;
    int solarNoon, firstLit, lastLit;
  };
  const Case kCases[] = {
      {"winter", automatic, 12, 21, 13 * 60 + 13, 8 * 60, 18 * 60 + 30},
      {"summer, automatic saving", automatic, 6, 21, 14 * 60 + 16, 6 * 60, 22 * 60 + 30},
      {"summer, saving set by hand", byHand, 6, 21, 14 * 60 + 16, 6 * 60, 22 * 60 + 30},
  };
  for (const Case& k : kCases) {
    const Day d = scan(k.site, 2006, k.month, k.day, k.firstLit, k.lastLit);
    EXPECT_NEAR(d.peakMinute, k.solarNoon, 30) << k.name;
    EXPECT_TRUE(d.darkOutside) << k.name;
  }
}

}  // namespace
}  // namespace reports
