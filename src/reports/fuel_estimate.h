#pragma once

// How much fuel a customer's tank still holds, worked out from the station's heating
// degree days since the last reading, and the K factor of a past delivery. Each day's
// degree days are read once and kept, so a report over many customers reads the
// database once per day.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

#include "database/weather_database.h"
#include "platform/status.h"
#include "quantities/date_text.h"
#include "quantities/user_conventions.h"
#include "reports/degree_days.h"
#include "reports/fuel_customer.h"
#include "station/station_config.h"

namespace reports {

struct FuelMethod {
  double baseF = 65.0;
  bool byIntegration = false;
  static FuelMethod fromStation(const station::StationConfig& config);
};

// The days of one database under one method.
class FuelDays {
 public:
  FuelDays(database::WeatherDatabase& db, FuelMethod method) : db_(db), method_(method) {}
  platform::Result<FuelDay> day(std::int32_t packed);
  database::WeatherDatabase& db() { return db_; }
  const FuelMethod& method() const { return method_; }

 private:
  database::WeatherDatabase& db_;
  FuelMethod method_;
  std::unordered_map<std::int32_t, FuelDay> days_;
};

struct FuelEstimate {
  double gallons = 0.0;                     // left today; the reading when no later data
  std::optional<quantities::Date> emptyOn;  // the day the tank ran dry
  bool noLaterData = false;                 // the reading is newer than the newest record
};

// Fails with the estimate's messages: no data, a record that cannot be read, and a
// stored K factor that is not above 0.
platform::Result<FuelEstimate> estimateFuel(FuelDays& days, const FuelCustomer& c);

// "Vacío en <date>." or the gallons with two decimals.
std::string estimateText(const FuelEstimate& e, const platform::IntlSettings& intl);

// A day with under 18 hours of data met while summing a delivery's period: the question
// to put to the person; true counts the day as it stands, false cancels.
using ShortDayQuestion = std::function<bool(const std::string& question)>;

struct KFactorInput {
  std::optional<quantities::Date> start, end;  // empty: not given
  std::string startText, endText;              // as typed, for the messages
  std::optional<double> gallons;
  std::string gallonsText;
};

// Degree days from start to end, both included, per gallon used, to two decimals as the
// customer keeps it. Fails with the
// delivery dialog's messages, with "Cálculo cancelado." when a short day is refused,
// and refuses a period without heating degree days (a K factor of 0).
platform::Result<double> kFactorFromDelivery(FuelDays& days, const KFactorInput& in,
                                             const quantities::UserConventions& conventions,
                                             const ShortDayQuestion& ask);

}  // namespace reports
