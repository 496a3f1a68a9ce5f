#include "station/station_report.h"

#include <gtest/gtest.h>

#include "platform/string_table.h"

namespace station {
namespace {

StationState stationAt(std::int16_t elevationFeet) {
  StationState st;
  EXPECT_TRUE(st.config.setModel(5));
  st.config.setStationName("Cumbre");
  st.config.setElevation(elevationFeet);
  return st;
}

// The description reads in Spanish, and the elevation, kept in feet, is shown in the
// person's unit with that unit's own text.
TEST(StationReport, LabelsAreSpanishAndTheElevationIsInTheUsersUnit) {
  quantities::Units metres;
  metres.SetElevUnit(quantities::kMetres);
  const std::string text = describeStation(stationAt(1000), metres);
  for (const char* want : {"nombre: Cumbre\n", "modelo: Cirrant Pro (5)\n", "módem: no\n",
                           "ubicación: sin fijar\n", "altitud: 305 m\n"}) {
    EXPECT_NE(text.find(want), std::string::npos) << want << " in\n" << text;
  }
  const std::string feet = describeStation(stationAt(1000), quantities::Units{});
  EXPECT_NE(feet.find("altitud: 1000 " + quantities::Units{}.elevUnitText() + "\n"),
            std::string::npos)
      << feet;
  // No label is a missing text of the table.
  EXPECT_EQ(text.find('#'), std::string::npos) << text;
}

}  // namespace
}  // namespace station
