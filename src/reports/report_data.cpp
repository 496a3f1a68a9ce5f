#include "reports/report_data.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <span>

#include "platform/string_table.h"
#include "quantities/text_format.h"
#include "reports/report_data_records.h"
#include "reports/report_text_ids.h"

namespace reports {

namespace {

using station::StationConfig;

// One field of a module record and where it lives in the station record.
struct Mapping {
  std::size_t record;
  std::size_t config;
  std::size_t size;
};

constexpr Mapping kSoil[] = {
    {offsetof(SoilHoursReportRecord, startDate), data::kSoilStart.offset, 4},
    {offsetof(SoilHoursReportRecord, threshold), data::kSoilThreshold.offset, 2},
    {offsetof(SoilHoursReportRecord, secondDate), data::kSoilSecondDate.offset, 4},
    {offsetof(SoilHoursReportRecord, sensorIndex), data::kSoilSensor.offset, 1}};
constexpr Mapping kChill[] = {
    {offsetof(ChillHoursReportRecord, startDate), data::kChillStart.offset, 4},
    {offsetof(ChillHoursReportRecord, threshold), data::kChillThreshold.offset, 2},
    {offsetof(ChillHoursReportRecord, sensorIndex), data::kChillSensor.offset, 1}};
constexpr Mapping kLeaf[] = {
    {offsetof(LeafHoursReportRecord, firstDate), data::kLeafFirstDate.offset, 4},
    {offsetof(LeafHoursReportRecord, secondDate), data::kLeafSecondDate.offset, 4},
    {offsetof(LeafHoursReportRecord, firstThreshold), data::kLeafThresholds.offset, 2},
    {offsetof(LeafHoursReportRecord, secondThreshold), data::kLeafThresholds.offset + 2, 2},
    {offsetof(LeafHoursReportRecord, thirdThreshold), data::kLeafThresholds.offset + 4, 2},
    {offsetof(LeafHoursReportRecord, sensorIndex), data::kLeafSensor.offset, 1}};
constexpr Mapping kSun[] = {
    {offsetof(SunHoursReportRecord, startDate), data::kSunStart.offset, 4},
    {offsetof(SunHoursReportRecord, threshold), data::kSunThreshold.offset, 2}};
constexpr Mapping kEt[] = {{offsetof(EtReportRecord, kFactorBits), data::kEtKFactor.offset, 4},
                           {offsetof(EtReportRecord, startDate), data::kEtStart.offset, 4}};
constexpr Mapping kDd[] = {{offsetof(DdReportRecord, startDate), data::kDdStart.offset, 4},
                           {offsetof(DdReportRecord, options) + 0, data::kDdOptions.offset, 1},
                           {offsetof(DdReportRecord, options) + 1, data::kDdOptions.offset + 1, 1},
                           {offsetof(DdReportRecord, options) + 2, data::kDdOptions.offset + 2, 1},
                           {offsetof(DdReportRecord, options) + 3, data::kDdOption4.offset, 1}};
// The temperature/humidity-hours values after the four names.
constexpr Mapping kThValues[] = {
    {offsetof(ThHoursReportRecord, firstValues), data::kThFirst.offset, 16},
    {offsetof(ThHoursReportRecord, secondValues), data::kThSecond.offset, 8},
    {offsetof(ThHoursReportRecord, thirdValues), data::kThThird.offset, 8},
    {offsetof(ThHoursReportRecord, fourthValues), data::kThFourth.offset, 4},
    {offsetof(ThHoursReportRecord, fifthValues), data::kThFifth.offset, 4}};

void copyOut(const StationConfig& c, std::span<const Mapping> fields, std::byte* buffer) {
  for (const Mapping& m : fields)
    std::memcpy(buffer + m.record, c.bytes().data() + m.config, m.size);
}

void copyIn(StationConfig& c, std::span<const Mapping> fields, const std::byte* buffer) {
  for (const Mapping& m : fields) {
    std::memcpy(c.mutableBytes().data() + m.config, buffer + m.record, m.size);
  }
}

// A 20-byte name ends in a zero at its twentieth byte, and never in half a UTF-8 character.
void endName(std::byte* name) {
  name[data::kThNameWidth - 1] = std::byte{0};
  std::size_t length = 0;
  while (length < data::kThNameWidth && name[length] != std::byte{0}) ++length;
  std::size_t start = length;
  while (start > 0 && (std::to_integer<unsigned>(name[start - 1]) & 0xC0) == 0x80) --start;
  if (start == 0) return;
  const unsigned lead = std::to_integer<unsigned>(name[start - 1]);
  std::size_t need = 1;
  if ((lead & 0xE0) == 0xC0) need = 2;
  if ((lead & 0xF0) == 0xE0) need = 3;
  if ((lead & 0xF8) == 0xF0) need = 4;
  if (length - (start - 1) < need) std::memset(name + start - 1, 0, length - (start - 1));
}

bool noStationOpen(const station::StationState* station) {
  return station == nullptr || station->config.stationName().empty();
}

int get(const station::StationState* station, void* buffer, std::span<const Mapping> fields) {
  if (buffer == nullptr || station == nullptr) return 0;
  copyOut(station->config, fields, static_cast<std::byte*>(buffer));
  return 1;
}

int set(platform::FileSystem& files, station::StationState* station, const void* buffer,
        std::span<const Mapping> fields) {
  if (buffer == nullptr || noStationOpen(station)) return 0;
  copyIn(station->config, fields, static_cast<const std::byte*>(buffer));
  return station::SaveStation(files, *station);
}

std::optional<quantities::Date> dateAt(const StationConfig& c,
                                       station::layout::Field<std::uint32_t> f) {
  return packedReportDate(c.get(f));
}

double finiteOr(float v, float fallback) { return std::isfinite(v) ? v : fallback; }

}  // namespace

std::optional<quantities::Date> packedReportDate(std::uint32_t packed) {
  const int year = static_cast<int>(packed >> 16);
  const int month = static_cast<int>((packed >> 8) & 0xFF);
  const int day = static_cast<int>(packed & 0xFF);
  if (packed == 0 || !records::isValidDate(year, month, day)) return std::nullopt;
  return quantities::Date{year, month, day};
}

std::uint32_t packReportDate(const quantities::Date& d) {
  return static_cast<std::uint32_t>(records::packDate(d.year, d.month, d.day));
}

std::string ReportSettings::thHoursName(std::size_t entry) const {
  return c_.text(station::layout::TextField{data::kThNames + entry * data::kThNameWidth,
                                            data::kThNameWidth, data::kThNameWidth - 1});
}
std::optional<quantities::Date> ReportSettings::soilHoursStart() const {
  return dateAt(c_, data::kSoilStart);
}
std::optional<quantities::Date> ReportSettings::soilHoursSecondDate() const {
  return dateAt(c_, data::kSoilSecondDate);
}
std::optional<quantities::Date> ReportSettings::chillHoursStart() const {
  return dateAt(c_, data::kChillStart);
}
std::optional<quantities::Date> ReportSettings::leafHoursFirstDate() const {
  return dateAt(c_, data::kLeafFirstDate);
}
std::optional<quantities::Date> ReportSettings::leafHoursSecondDate() const {
  return dateAt(c_, data::kLeafSecondDate);
}
double ReportSettings::etKFactor() const {
  return finiteOr(c_.get(data::kEtKFactor), data::kDefaultKFactor);
}
std::optional<quantities::Date> ReportSettings::etStart() const {
  return dateAt(c_, data::kEtStart);
}
std::optional<quantities::Date> ReportSettings::sunHoursStart() const {
  return dateAt(c_, data::kSunStart);
}
std::optional<int> ReportSettings::sunHoursThreshold() const {
  const int v = c_.get(data::kSunThreshold);
  if (v < 0) return std::nullopt;
  return v;
}
std::optional<quantities::Date> ReportSettings::degreeDayStart() const {
  return dateAt(c_, data::kDdStart);
}
int ReportSettings::degreeDayOption(std::size_t i) const {
  if (i < 3) return c_.get(data::kDdOptions, i);
  return c_.get(data::kDdOption4);
}
double ReportSettings::fuelThreshold() const {
  return finiteOr(c_.get(data::kFuelThreshold), data::kDefaultFuelThreshold);
}
double ReportSettings::fuelHeatBase() const {
  return finiteOr(c_.get(data::kFuelHeatBase), data::kDefaultFuelHeatBase);
}

std::string describeReportSettings(const StationConfig& config,
                                   const platform::IntlSettings& intl) {
  const ReportSettings s(config);
  auto date = [&intl](const std::optional<quantities::Date>& d) {
    if (!d) return std::string(quantities::kDash3);
    return quantities::shortDateText(records::DateTime::fromDate(d->year, d->month, d->day), intl);
  };
  auto line = [](int id, const std::string& value) {
    return platform::loadString(id) + ": " + value + "\n";
  };
  std::string out;
  for (std::size_t i = 0; i < 4; ++i) {
    out += line(kTextThEntry, std::to_string(i + 1) + " '" + s.thHoursName(i) + "' " +
                                  std::to_string(config.get(data::kThFirst, i)) + " " +
                                  std::to_string(config.get(data::kThSecond, i)) + " " +
                                  std::to_string(config.get(data::kThThird, i)) + " " +
                                  std::to_string(config.get(data::kThFourth, i)) + " " +
                                  std::to_string(config.get(data::kThFifth, i)));
  }
  out += line(kTextSoilHours,
              date(s.soilHoursStart()) + ", " + std::to_string(s.soilHoursThreshold()) + ", " +
                  date(s.soilHoursSecondDate()) + ", " + std::to_string(s.soilHoursSensor()));
  out += line(kTextChillHours, date(s.chillHoursStart()) + ", " +
                                   std::to_string(s.chillHoursThreshold()) + ", " +
                                   std::to_string(s.chillHoursSensor()));
  out += line(kTextLeafHours, date(s.leafHoursFirstDate()) + ", " + date(s.leafHoursSecondDate()) +
                                  ", " + std::to_string(s.leafHoursThreshold(0)) + ", " +
                                  std::to_string(s.leafHoursThreshold(1)) + ", " +
                                  std::to_string(s.leafHoursThreshold(2)) + ", " +
                                  std::to_string(s.leafHoursSensor()));
  const auto sun = s.sunHoursThreshold();
  out += line(kTextSunHours, date(s.sunHoursStart()) + ", " +
                                 (sun ? std::to_string(*sun) : std::string(quantities::kDash3)));
  out += line(kTextEtReport, quantities::fixedText(s.etKFactor(), 2) + ", " + date(s.etStart()));
  out +=
      line(kTextDdReport, date(s.degreeDayStart()) + ", " + std::to_string(s.degreeDayOption(0)) +
                              " " + std::to_string(s.degreeDayOption(1)) + " " +
                              std::to_string(s.degreeDayOption(2)) + " " +
                              std::to_string(s.degreeDayOption(3)));
  out += line(kTextFuelReport, std::to_string(s.fuelSortByName()) + " " +
                                   std::to_string(s.fuelFullReport()) + " " +
                                   std::to_string(s.fuelOnlyBelowThreshold()) + ", " +
                                   quantities::fixedText(s.fuelThreshold(), 1) + ", " +
                                   std::to_string(s.fuelByIntegration()) + ", " +
                                   quantities::fixedText(s.fuelHeatBase(), 1));
  return out;
}

int GetThHoursReportData(const station::StationState* station, void* buffer) {
  if (buffer == nullptr || station == nullptr) return 0;
  auto* out = static_cast<std::byte*>(buffer);
  for (std::size_t i = 0; i < 4; ++i) {
    std::byte* name = out + offsetof(ThHoursReportRecord, names) + i * data::kThNameWidth;
    std::memcpy(name, station->config.bytes().data() + data::kThNames + i * data::kThNameWidth,
                data::kThNameWidth);
    endName(name);
  }
  copyOut(station->config, kThValues, out);
  return 1;
}

int SetThHoursReportData(platform::FileSystem& files, station::StationState* station,
                         const void* buffer) {
  if (buffer == nullptr || noStationOpen(station)) return 0;
  const auto* in = static_cast<const std::byte*>(buffer);
  for (std::size_t i = 0; i < 4; ++i) {
    std::byte* name =
        station->config.mutableBytes().data() + data::kThNames + i * data::kThNameWidth;
    std::memcpy(name, in + offsetof(ThHoursReportRecord, names) + i * data::kThNameWidth,
                data::kThNameWidth);
    endName(name);
  }
  copyIn(station->config, kThValues, in);
  return station::SaveStation(files, *station);
}

int GetSoilHoursReportData(const station::StationState* s, void* b) { return get(s, b, kSoil); }
int SetSoilHoursReportData(platform::FileSystem& f, station::StationState* s, const void* b) {
  return set(f, s, b, kSoil);
}
int GetChillHoursReportData(const station::StationState* s, void* b) { return get(s, b, kChill); }
int SetChillHoursReportData(platform::FileSystem& f, station::StationState* s, const void* b) {
  return set(f, s, b, kChill);
}
int GetLeafHoursReportData(const station::StationState* s, void* b) { return get(s, b, kLeaf); }
int SetLeafHoursReportData(platform::FileSystem& f, station::StationState* s, const void* b) {
  return set(f, s, b, kLeaf);
}
int GetSunHoursReportData(const station::StationState* s, void* b) { return get(s, b, kSun); }
int SetSunHoursReportData(platform::FileSystem& f, station::StationState* s, const void* b) {
  return set(f, s, b, kSun);
}
int GetEtReportData(const station::StationState* s, void* b) { return get(s, b, kEt); }
int SetEtReportData(platform::FileSystem& f, station::StationState* s, const void* b) {
  return set(f, s, b, kEt);
}
int GetDdReportData(const station::StationState* s, void* b) { return get(s, b, kDd); }
int SetDdReportData(platform::FileSystem& f, station::StationState* s, const void* b) {
  return set(f, s, b, kDd);
}

}  // namespace reports
