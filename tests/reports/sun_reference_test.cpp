// The sun computation against an independent ephemeris: the reference events of 2006 at four
// sites (scripts/sun-reference.py wrote them) agree within one displayed minute below 60°
// latitude, and at every site the same events occur on the same dates.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "reports/sun_position.h"

namespace reports {
namespace {

struct Site {
  double latitude;
  double longitude;
};

const std::map<std::string, Site> kSites = {
    {"bay", {37.6, -122.1}},
    {"sydney", {-33.9, 151.2}},
    {"stjohns", {47.5, -52.7}},
    {"north70", {70.0, 20.0}},
};

// The report's columns: twilights begin, sunrise, sunset, twilights end.
constexpr std::array<double, 8> kAltitudes = {kAltitudeAstronomical, kAltitudeNautical,
                                              kAltitudeCivil,        kAltitudeSunriseSunset,
                                              kAltitudeSunriseSunset, kAltitudeCivil,
                                              kAltitudeNautical,     kAltitudeAstronomical};

// Minutes apart on the clock face, so that a time just past midnight meets one just before.
int minutesApart(int a, int b) {
  const int d = ((a - b) % 1440 + 1440) % 1440;
  return std::min(d, 1440 - d);
}

TEST(SunReference, EventsAgreeWithAnIndependentEphemeris) {
  std::ifstream in(std::string(STRATALOG_SOURCE_DIR) + "/tests/reports/data/sun_events_2006.txt");
  ASSERT_TRUE(in) << "reference file missing";
  int lines = 0;
  int compared = 0;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string name;
    int year = 0, month = 0, day = 0;
    fields >> name >> year >> month >> day;
    const Site site = kSites.at(name);
    ++lines;
    for (std::size_t i = 0; i < kAltitudes.size(); ++i) {
      std::string reference;
      fields >> reference;
      const bool rise = i < 4;
      const std::optional<double> hours = eventTimeUniversal(
          year, month, day, site.latitude, site.longitude, kAltitudes[i], rise);
      const std::string where = line + " (column " + std::to_string(i) + ")";
      ASSERT_EQ(hours.has_value(), reference != "-") << where;
      if (!hours || std::fabs(site.latitude) >= 60) continue;
      const int ours = static_cast<int>(std::floor(*hours * 60 + 0.5));
      EXPECT_LE(minutesApart(ours, std::stoi(reference)), 1) << where << ": ours " << ours;
      ++compared;
    }
  }
  EXPECT_EQ(lines, 4 * 365);
  EXPECT_EQ(compared, 3 * 365 * 8);
}

}  // namespace
}  // namespace reports
