#pragma once

// The texts of the NOAA monthly and yearly summaries, line for line in their fixed
// layouts. A figure with nothing behind it (a mean of no days, an extreme no day
// replaced) prints "---" in its column, as does its day or month.

#include <string>

#include "quantities/user_conventions.h"
#include "reports/noaa_compute.h"
#include "station/station_config.h"

namespace reports {

// The station texts at the head of both summaries.
struct NoaaHeader {
  std::string stationName;
  std::string city;
  std::string state;
  std::string latText;
  std::string lonText;
  int elevationFeet = 0;
  DegreeDayBases bases;  // °F
  bool integration = true;

  static NoaaHeader fromStation(const station::StationConfig& config);
};

std::string noaaMonthText(const NoaaMonth& month, const NoaaHeader& header,
                          const quantities::UserConventions& conventions);
std::string noaaYearText(const NoaaYear& year, const NoaaHeader& header,
                         const quantities::UserConventions& conventions);

// "ENE" ... "DIC" for months 1 to 12; "---" for any other number.
std::string noaaMonthName(int month);

}  // namespace reports
