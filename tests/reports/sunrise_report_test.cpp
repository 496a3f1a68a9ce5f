#include "reports/sunrise_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "noaa_fixture.h"
#include "platform/testing/mem_file_system.h"

namespace reports {
namespace {

using noaa_test::linesOf;
using quantities::Date;
namespace layout = station::layout;

station::StationConfig siteConfig(double lat, double lon, double offset, int zone) {
  station::StationConfig c;
  auto dms = [](double v, std::int16_t& d, std::int16_t& m, std::int16_t& s) {
    const long total = std::lround(std::fabs(v) * 3600);
    d = static_cast<std::int16_t>(total / 3600);
    m = static_cast<std::int16_t>(total / 60 % 60);
    s = static_cast<std::int16_t>(total % 60);
  };
  std::int16_t d, m, s;
  dms(lat, d, m, s);
  c.set(layout::kLatDeg, d);
  c.set(layout::kLatMin, m);
  c.set(layout::kLatSec, s);
  dms(lon, d, m, s);
  c.set(layout::kLonDeg, d);
  c.set(layout::kLonMin, m);
  c.set(layout::kLonSec, s);
  c.set(layout::kLatitude, static_cast<float>(lat));
  c.set(layout::kLongitude, static_cast<float>(lon));
  c.set(layout::kLatSouth, std::uint8_t{lat < 0});
  c.set(layout::kLonWest, std::uint8_t{lon < 0});
  c.setTimeZoneIndex(static_cast<std::int16_t>(zone));
  c.setGmtOffset(static_cast<float>(offset));
  c.setDstManual(false);
  return c;
}

platform::IntlSettings slashes() { return platform::IntlSettings{1, '/', true, ':'}; }

// The report's columns of one day: hh:mm, or -1 for "-----".
std::vector<int> columns(const std::string& line) {
  std::vector<int> out;
  for (std::size_t at = 9; at + 7 <= line.size();) {
    const std::size_t width = (out.size() == 3 || out.size() == 4) ? 8 : 7;
    const std::string cell = line.substr(at, width);
    const auto colon = cell.find(':');
    out.push_back(colon == std::string::npos ? -1
                                             : std::atoi(cell.substr(0, colon).c_str()) * 60 +
                                                   std::atoi(cell.substr(colon + 1).c_str()));
    at += width;
  }
  return out;
}

TEST(SunriseReport, SavingBeginsOnTheFirstSundayOfApril) {
  const auto config = siteConfig(37.6, -122.1, -8, 4);
  auto text = sunriseReportText(config, slashes(), {2006, 4, 2}, SunRange::kDay);
  ASSERT_TRUE(text.isOk()) << text.status().message();
  const auto lines = linesOf(*text);
  ASSERT_EQ(lines.size(), 9U);
  EXPECT_EQ(lines[0], "   Latitud:   37° 36' 00\" N");
  EXPECT_EQ(lines[1], "   Longitud: 122° 06' 00\" W");
  EXPECT_EQ(lines[2], "   Zona Horaria: (GMT-08:00) Pacific Time, Tijuana");
  EXPECT_EQ(lines[3], "   Horario de Ahorro de Luz Diurna: Automático");
  EXPECT_EQ(lines[8], " 02/04/06   5:23   5:55   6:26    6:52   19:32  19:58  20:30  21:02  12:40");
}

TEST(SunriseReport, YearsAtFourStations) {
  struct Site {
    const char* name;
    double lat, lon, offset;
    int zone;
  };
  const Site kSites[] = {{"California", 37.6, -122.1, -8, 4},
                         {"Sydney", -33.9, 151.2, 10, 42},
                         {"Newfoundland", 47.5, -52.7, -3.5, 13},
                         {"70 N", 70, 20, 1, 20}};
  for (const Site& s : kSites) {
    auto text = sunriseReportText(siteConfig(s.lat, s.lon, s.offset, s.zone), slashes(),
                                  {2006, 6, 1}, SunRange::kYear);
    ASSERT_TRUE(text.isOk()) << s.name;
    const auto lines = linesOf(*text);
    ASSERT_EQ(lines.size(), 8U + 365U) << s.name;
    for (std::size_t i = 8; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].size(), 74U) << s.name << ": " << lines[i];
      EXPECT_EQ(lines[i].find(":60"), std::string::npos) << s.name << ": " << lines[i];
      EXPECT_EQ(lines[i].find(":-"), std::string::npos) << s.name << ": " << lines[i];
    }
  }
  // Leap years have 366 lines.
  auto leap =
      sunriseReportText(siteConfig(37.6, -122.1, -8, 4), slashes(), {2008, 6, 1}, SunRange::kYear);
  EXPECT_EQ(linesOf(*leap).size(), 8U + 366U);
}

TEST(SunriseReport, TimesAgreeWithPublishedAndHandComputedOnes) {
  // Published tables for Sydney and the San Francisco Bay; St. John's worked by hand from
  // the declination (23.44°) and the equation of time (−1.8 min) on the solstice.
  struct Case {
    const char* name;
    double lat, lon, offset;
    int zone;
    Date date;
    int rise, set;  // local clock minutes
  };
  const Case kCases[] = {
      {"Sydney winter", -33.9, 151.2, 10, 42, {2006, 6, 21}, 7 * 60, 16 * 60 + 54},
      {"Sydney summer, saving", -33.9, 151.2, 10, 42, {2006, 1, 1}, 5 * 60 + 47, 20 * 60 + 9},
      {"Bay summer, saving", 37.6, -122.1, -8, 4, {2006, 6, 21}, 5 * 60 + 47, 20 * 60 + 34},
      {"Bay winter", 37.6, -122.1, -8, 4, {2006, 12, 21}, 7 * 60 + 20, 16 * 60 + 53},
      {"St. John's solstice", 47.5, -52.7, -3.5, 13, {2006, 6, 21}, 5 * 60 + 3, 21 * 60 + 2},
  };
  for (const Case& c : kCases) {
    auto text = sunriseReportText(siteConfig(c.lat, c.lon, c.offset, c.zone), slashes(), c.date,
                                  SunRange::kDay);
    ASSERT_TRUE(text.isOk()) << c.name;
    const auto cols = columns(linesOf(*text).at(8));
    ASSERT_EQ(cols.size(), 9U) << c.name;
    EXPECT_NEAR(cols[3], c.rise, 2) << c.name;
    EXPECT_NEAR(cols[4], c.set, 2) << c.name;
    EXPECT_NEAR(cols[8], c.set - c.rise, 3) << c.name;
  }
}

TEST(SunriseReport, PolarDayAndNight) {
  const auto config = siteConfig(70, 20, 1, 20);
  auto june = sunriseReportText(config, slashes(), {2006, 6, 21}, SunRange::kDay);
  EXPECT_EQ(linesOf(*june).at(8),
            " 21/06/06  -----  -----  -----   -----   -----  -----  -----  -----  -----");
  // In December the sun stays below the horizon but civil twilight still comes.
  const auto dec =
      columns(linesOf(*sunriseReportText(config, slashes(), {2006, 12, 21}, SunRange::kDay)).at(8));
  EXPECT_EQ(dec[3], -1);
  EXPECT_EQ(dec[4], -1);
  EXPECT_EQ(dec[8], -1);
  EXPECT_NE(dec[1], -1);
  EXPECT_NE(dec[6], -1);
}

TEST(SunriseReport, LocationNotSetOrUnusable) {
  const std::string kNotSet =
      "Configure Latitud y Longitud antes de ejecutar el informe de Salida del Sol.";
  station::StationConfig unset = siteConfig(37.6, -122.1, -8, 4);
  unset.set(layout::kLatDeg, station::kLocationNotSet);
  auto nan = siteConfig(37.6, -122.1, -8, 4);
  nan.set(layout::kLatitude, std::nanf(""));
  auto far = siteConfig(37.6, -222.1, -8, 4);
  auto offset = siteConfig(37.6, -122.1, -8, 4);
  offset.setGmtOffset(std::numeric_limits<float>::infinity());
  for (const auto* c : {&unset, &nan, &far, &offset}) {
    auto text = sunriseReportText(*c, slashes(), {2006, 4, 2}, SunRange::kDay);
    ASSERT_FALSE(text.isOk());
    EXPECT_EQ(text.status().message(), kNotSet);
  }
}

TEST(SunriseReport, WrittenIntoTheStationDirectory) {
  platform::MemFileSystem files;
  ASSERT_TRUE(files.createDirectories("/st").isOk());
  auto config = siteConfig(37.6, -122.1, -8, 4);
  config.setDstManual(true);
  config.setDstManualOn(false);
  auto written =
      writeSunriseReport(files, config, slashes(), "/st", {2006, 2, 10}, SunRange::kMonth);
  ASSERT_TRUE(written.isOk()) << written.status().message();
  EXPECT_EQ(*written, "/st/sunrise.txt");
  const auto lines = linesOf(*files.readFile("/st/sunrise.txt"));
  EXPECT_EQ(lines[3], "   Horario de Ahorro de Luz Diurna: Off");
  ASSERT_EQ(lines.size(), 8U + 28U);
  EXPECT_EQ(lines[8].substr(0, 9), " 01/02/06");
  EXPECT_EQ(lines.back().substr(0, 9), " 28/02/06");
}

TEST(SunriseReport, TodayForTheTemplateTagsFollowsTheProgramsSaving) {
  auto config = siteConfig(37.6, -122.1, -8, 4);
  config.setDstManual(true);
  config.setDstManualOn(false);
  config.setDstOn(true);
  const auto today = sunDayFor(config, {2006, 1, 15});
  ASSERT_TRUE(today && today->events[3] && today->events[4]);
  const SunDay standard = sunDay(*sunSiteOf(config), sunriseClock(config), {2006, 1, 15});
  EXPECT_EQ(*today->events[3], *standard.events[3] + 60);
  config.set(layout::kLatDeg, station::kLocationNotSet);
  EXPECT_FALSE(sunDayFor(config, {2006, 1, 15}));
}

}  // namespace
}  // namespace reports
