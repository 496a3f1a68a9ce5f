#pragma once

// The fuel-demand report of a station, "fuelrep.txt": every customer's estimate, kept
// below a threshold when asked, sorted by last name or by gallons left, in the full or
// the abbreviated form. The text is made whole before the file is replaced atomically.

#include <string>
#include <vector>

#include "database/weather_database.h"
#include "platform/file_system.h"
#include "platform/status.h"
#include "quantities/date_text.h"
#include "quantities/user_conventions.h"
#include "reports/fuel_customer.h"
#include "reports/fuel_estimate.h"
#include "station/station_config.h"

namespace reports {

inline constexpr std::string_view kFuelReportFile = "fuelrep.txt";

struct FuelReportOptions {
  bool full = true;
  bool sortByName = true;
  bool onlyBelow = false;
  double threshold = 100.0;  // gallons
  static FuelReportOptions fromStation(const station::StationConfig& config);
  void store(station::StationConfig& config) const;
};

struct FuelReportJob {
  platform::FileSystem& files;
  database::WeatherDatabase& db;  // open
  const station::StationConfig& config;
  const quantities::UserConventions& conventions;
  quantities::Date today;
};

struct FuelReportLine {
  FuelCustomer customer;
  std::optional<FuelEstimate> estimate;  // empty when the stored K factor is not usable
};

// The report text of the given customers. Fails on an empty database, on a record read
// failure and, with the threshold on, when no customer is left.
platform::Result<std::string> fuelReportText(FuelDays& days, std::vector<FuelCustomer> customers,
                                             const FuelReportOptions& options,
                                             const quantities::Date& today,
                                             const platform::IntlSettings& intl);

struct FuelReportWritten {
  std::string path;
  std::vector<std::string> problems;  // customer files that could not be read, skipped
};

// Reads the station's customers and writes the report to `path` (the station directory's
// fuelrep.txt when empty).
platform::Result<FuelReportWritten> writeFuelReport(const FuelReportJob& job,
                                                    const FuelReportOptions& options,
                                                    const std::string& path = {});

}  // namespace reports
