#pragma once

// The accumulation reports' settings kept in the station record (bytes 1162-1358): typed
// reading and writing for the program's own reports, and the seven Get/Set pairs through
// which modules exchange them as the packed records of report_data_records.h.
//
// What a module stores is kept as it stands; the typed readers check it where it is used:
// a packed date that is no calendar day reads as not set, a non-finite K factor, fuel
// base or fuel threshold reads as its default.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "quantities/date_text.h"
#include "station/station_config.h"
#include "station/station_state.h"

namespace reports {

namespace data {
using station::layout::ArrayField;
using station::layout::Field;
inline constexpr std::size_t kThNames = 1162;  // char[20] × 4
inline constexpr std::size_t kThNameWidth = 20;
inline constexpr ArrayField<std::uint32_t, 4> kThFirst{1244};
inline constexpr ArrayField<std::uint16_t, 4> kThSecond{1260};
inline constexpr ArrayField<std::uint16_t, 4> kThThird{1268};
inline constexpr ArrayField<std::uint8_t, 4> kThFourth{1276};
inline constexpr ArrayField<std::uint8_t, 4> kThFifth{1280};
inline constexpr Field<std::uint32_t> kSoilStart{1284};
inline constexpr Field<std::uint16_t> kSoilThreshold{1288};
inline constexpr Field<std::uint32_t> kSoilSecondDate{1292};
inline constexpr Field<std::uint32_t> kChillStart{1296};
inline constexpr Field<std::uint16_t> kChillThreshold{1300};
inline constexpr Field<std::uint32_t> kLeafFirstDate{1304};
inline constexpr Field<std::uint32_t> kLeafSecondDate{1308};
inline constexpr ArrayField<std::uint16_t, 3> kLeafThresholds{1312};
inline constexpr Field<float> kEtKFactor{1320};
inline constexpr Field<std::uint32_t> kEtStart{1324};
inline constexpr Field<std::uint32_t> kSunStart{1328};
inline constexpr Field<std::int16_t> kSunThreshold{1332};
inline constexpr Field<std::uint8_t> kFuelSortByName{1334};
inline constexpr Field<std::uint8_t> kFuelFullReport{1335};
inline constexpr Field<std::uint8_t> kFuelOnlyBelow{1336};
inline constexpr Field<std::uint8_t> kDdOption4{1337};
inline constexpr Field<float> kFuelThreshold{1340};
inline constexpr Field<std::uint32_t> kDdStart{1344};
inline constexpr ArrayField<std::uint8_t, 3> kDdOptions{1348};
inline constexpr Field<std::uint8_t> kFuelIntegration{1351};
inline constexpr Field<float> kFuelHeatBase{1352};
inline constexpr Field<std::uint8_t> kSoilSensor{1356};
inline constexpr Field<std::uint8_t> kLeafSensor{1357};
inline constexpr Field<std::uint8_t> kChillSensor{1358};

static_assert(kThNames == station::layout::kReportData.offset);
static_assert(kThNames + 4 * kThNameWidth + 2 == kThFirst.offset);
static_assert(station::layout::endOf(kChillSensor) ==
              station::layout::endOf(station::layout::kReportData));
static_assert(kSoilThreshold.offset == station::layout::kSoilHoursThreshold.offset);
static_assert(kFuelHeatBase.offset == station::layout::kFuelHeatBase.offset);

// Values of a new record; the upgrade from revisions 0 and 1 gives the leaf sensor 15.
inline constexpr std::uint16_t kDefaultSoilThreshold = 32;
inline constexpr std::uint16_t kDefaultChillThreshold = 45;
inline constexpr std::uint16_t kDefaultLeafThreshold2 = 850;
inline constexpr std::uint16_t kDefaultLeafThreshold3 = 700;
inline constexpr float kDefaultKFactor = 1.0F;
inline constexpr std::int16_t kDefaultSunThreshold = 100;
inline constexpr float kDefaultFuelThreshold = 100.0F;
inline constexpr float kDefaultFuelHeatBase = 65.0F;
inline constexpr std::uint8_t kDefaultSoilSensor = 9;
inline constexpr std::uint8_t kUpgradedLeafSensor = 15;
}  // namespace data

// A packed date (year << 16 | month << 8 | day) as a calendar day; nothing for 0 or for
// a value that names no real day.
std::optional<quantities::Date> packedReportDate(std::uint32_t packed);
std::uint32_t packReportDate(const quantities::Date& d);

// The typed view of the block, for the reports of the program itself.
class ReportSettings {
 public:
  explicit ReportSettings(const station::StationConfig& config) : c_(config) {}

  std::string thHoursName(std::size_t entry) const;  // REQUIRES: entry < 4
  std::optional<quantities::Date> soilHoursStart() const;
  int soilHoursThreshold() const { return c_.get(data::kSoilThreshold); }
  std::optional<quantities::Date> soilHoursSecondDate() const;
  int soilHoursSensor() const { return c_.get(data::kSoilSensor); }
  std::optional<quantities::Date> chillHoursStart() const;
  int chillHoursThreshold() const { return c_.get(data::kChillThreshold); }
  int chillHoursSensor() const { return c_.get(data::kChillSensor); }
  std::optional<quantities::Date> leafHoursFirstDate() const;
  std::optional<quantities::Date> leafHoursSecondDate() const;
  int leafHoursThreshold(std::size_t i) const { return c_.get(data::kLeafThresholds, i); }
  int leafHoursSensor() const { return c_.get(data::kLeafSensor); }
  double etKFactor() const;
  std::optional<quantities::Date> etStart() const;
  std::optional<quantities::Date> sunHoursStart() const;
  // W/m², or nothing while the threshold is negative (not set).
  std::optional<int> sunHoursThreshold() const;
  std::optional<quantities::Date> degreeDayStart() const;
  int degreeDayOption(std::size_t i) const;  // i < 4: bytes 1348, 1349, 1350, 1337
  bool fuelSortByName() const { return c_.get(data::kFuelSortByName) != 0; }
  bool fuelFullReport() const { return c_.get(data::kFuelFullReport) != 0; }
  bool fuelOnlyBelowThreshold() const { return c_.get(data::kFuelOnlyBelow) != 0; }
  double fuelThreshold() const;
  bool fuelByIntegration() const { return c_.get(data::kFuelIntegration) != 0; }
  double fuelHeatBase() const;  // °F

 private:
  const station::StationConfig& c_;
};

// The block as lines "name: value" for `stratalog report settings`.
std::string describeReportSettings(const station::StationConfig& config,
                                   const platform::IntlSettings& intl);

// The module functions. Get: 1 with the record's fields copied into `buffer` (only the
// fields in use are written); 0 for a null buffer or no station. Set: the fields copied
// into the open station's record, then the station saved; 1 when saved, 0 for a null
// buffer, no station open (none given or no name) or a failed save (the values stay
// changed in memory).
int GetThHoursReportData(const station::StationState* station, void* buffer);
int SetThHoursReportData(platform::FileSystem& files, station::StationState* station,
                         const void* buffer);
int GetSoilHoursReportData(const station::StationState* station, void* buffer);
int SetSoilHoursReportData(platform::FileSystem& files, station::StationState* station,
                           const void* buffer);
int GetChillHoursReportData(const station::StationState* station, void* buffer);
int SetChillHoursReportData(platform::FileSystem& files, station::StationState* station,
                            const void* buffer);
int GetLeafHoursReportData(const station::StationState* station, void* buffer);
int SetLeafHoursReportData(platform::FileSystem& files, station::StationState* station,
                           const void* buffer);
int GetSunHoursReportData(const station::StationState* station, void* buffer);
int SetSunHoursReportData(platform::FileSystem& files, station::StationState* station,
                          const void* buffer);
int GetEtReportData(const station::StationState* station, void* buffer);
int SetEtReportData(platform::FileSystem& files, station::StationState* station,
                    const void* buffer);
int GetDdReportData(const station::StationState* station, void* buffer);
int SetDdReportData(platform::FileSystem& files, station::StationState* station,
                    const void* buffer);

}  // namespace reports
