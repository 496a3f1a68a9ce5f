#include "frame/bulletin_text.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "records/month_format.h"
#include "link/loop_packet.h"
#include "platform/string_table.h"
#include "quantities/date_text.h"
#include "quantities/derived.h"
#include "quantities/sensor_catalogue.h"
#include "quantities/text_format.h"
#include "quantities/value_strings.h"

namespace frame {

namespace {

using quantities::kNoData;
using stationlink::kImageNone16;
using stationlink::kImageNone8;
using stationlink::SensorImage;

// Catalogue rows (archive set) whose long names label the bulletin lines.
constexpr int kRowOutsideTemp = 10000;
constexpr int kRowOutsideHum = 10003;
constexpr int kRowDewPoint = 10004;
constexpr int kRowWindSpeed = 10005;
constexpr int kRowWindDir = 10006;
constexpr int kRowWindChill = 10010;
constexpr int kRowHeatIndex = 10011;
constexpr int kRowBarometer = 10013;
constexpr int kRowSolar = 10016;
constexpr int kRowUv = 10019;
constexpr int kRowInsideTemp = 10024;
constexpr int kRowInsideHum = 10025;
constexpr int kRowExtraTemp2 = 10028;  // 2 to 4 follow in order
constexpr int kRowExtraHum2 = 10031;   // 2 and 3
constexpr int kRowSoilMoisture1 = 10034;
constexpr int kRowSoilTemp1 = 10038;
constexpr int kRowLeafWetness1 = 10042;
constexpr int kRowLeafTemp1 = 10046;

// The bulletin's own labels (platform/strings/frame.inc).
constexpr int kTextWindAverage = 61900;
constexpr int kTextBarTrend = 61901;
constexpr int kTextRainRate = 61902;
constexpr int kTextRainDay = 61903;
constexpr int kTextRainMonth = 61904;
constexpr int kTextRainYear = 61905;
constexpr int kTextStormRain = 61906;
constexpr int kTextEtDay = 61907;
constexpr int kTextEtMonth = 61908;
constexpr int kTextEtYear = 61909;
constexpr int kTextConsoleBattery = 61910;
constexpr int kTextTransmitterBattery = 61911;
// Trend words of the older consoles that report a trend: falling, steady, rising.
constexpr int kTextClassicTrends = 62701;

// `sensorMask` bits.
constexpr std::uint32_t kOutsideTemp = 1u << 0;
constexpr std::uint32_t kOutsideHum = 1u << 4;
constexpr std::uint32_t kRainRate = 1u << 7;
constexpr std::uint32_t kBarometer = 1u << 8;
constexpr std::uint32_t kWindSpeed = 1u << 9;
constexpr std::uint32_t kWindDir = 1u << 10;
constexpr std::uint32_t kSolar = 1u << 11;
constexpr std::uint32_t kUv = 1u << 12;
constexpr std::uint32_t kInsideTemp = 1u << 13;
constexpr std::uint32_t kInsideHum = 1u << 14;
constexpr std::uint32_t kRainCollector = 1u << 15;
// Evapotranspiration is computed by the console from temperature, humidity, barometer,
// wind and solar radiation, so it needs all of them.
constexpr std::uint32_t kEt = kOutsideTemp | kOutsideHum | kBarometer | kWindSpeed | kSolar;
constexpr int kExtraTempBit = 1;  // extra temperatures 2 to 4: bits 1 to 3
constexpr int kExtraHumBit = 5;   // extra humidities 2 and 3: bits 5 and 6
constexpr int kSoilMoistureBit = 16;
constexpr int kSoilTempBit = 20;
constexpr int kLeafWetnessBit = 24;
constexpr int kLeafTempBit = 28;

struct Line {
  std::string label;
  std::string value;
};

std::string dash() { return std::string(quantities::kDash3); }

// A catalogue row's long name; the row's unit class gives the unit shown after the value.
struct RowLabel {
  std::string name;
  std::uint32_t code = 0;
  bool hasCode = false;
};

RowLabel catalogueRow(int id) {
  std::optional<quantities::CatalogueRow> row =
      quantities::parseCatalogueRow(platform::stringText(id));
  if (!row) return {platform::loadString(id), 0, false};
  return {row->longName, row->code, true};
}

std::string withUnit(std::string value, const std::string& unit) {
  if (value == quantities::kDash3 || unit.empty()) return value;
  return value + " " + unit;
}

// Image fields as internal-unit floats, kNoData where the console gave no reading.
float tenthsF(std::int16_t v) {
  return v == kImageNone16 || v == 0x7FFF ? kNoData : static_cast<float>(v) / 10.0f;
}
// The reset image holds 128, the console 0xFF: anything above 100 % is no reading.
float percent(std::uint8_t v) { return v > 100 ? kNoData : static_cast<float>(v); }
float byteTempF(std::uint8_t v) { return v == kImageNone8 ? kNoData : static_cast<float>(v) - 90; }
float mph(std::uint8_t v) { return v == kImageNone8 ? kNoData : static_cast<float>(v); }

class Bulletin {
 public:
  Bulletin(const SensorImage& image, const station::StationConfig& config,
           const quantities::Units& units)
      : s_(image), config_(config), units_(units) {
    collector_.type = config.rainCollectorType();
    collector_.rainClick = config.rainClick();
  }

  std::vector<Line> lines() {
    temperatureLines();
    barometerLines();
    windLines();
    rainLines();
    evapotranspirationLines();
    radiationLines();
    extraSensorLines();
    batteryLines();
    return std::move(lines_);
  }

 private:
  bool has(std::uint32_t mask) const { return config_.hasSensors(0, mask); }

  void add(std::string label, std::string value) {
    lines_.push_back({std::move(label), std::move(value)});
  }
  // A line labelled by a catalogue row, its unit from the row's code.
  void addRow(int id, const std::string& value) {
    RowLabel row = catalogueRow(id);
    std::string unit = row.hasCode ? quantities::GetUnitStr(units_, row.code) : std::string();
    add(std::move(row.name), withUnit(value, unit));
  }
  std::string temp(float f) const { return quantities::TempStr(units_, f, false); }
  std::string hum(float pct) const { return quantities::HumStr(units_, pct); }

  void temperatureLines() {
    const float t = tenthsF(s_.outsideTemperature);
    const float rh = percent(s_.outsideHumidity);
    const float wind = mph(s_.windSpeed);
    if (has(kOutsideTemp)) addRow(kRowOutsideTemp, temp(t));
    if (has(kOutsideHum)) addRow(kRowOutsideHum, hum(rh));
    if (has(kOutsideTemp | kOutsideHum)) {
      addRow(kRowDewPoint, temp(quantities::CalcDew(t, rh)));
    }
    if (has(kOutsideTemp | kWindSpeed)) {
      addRow(kRowWindChill, temp(quantities::CalcChill(t, wind)));
    }
    if (has(kOutsideTemp | kOutsideHum)) {
      addRow(kRowHeatIndex, temp(quantities::CalcHeat(t, rh)));
    }
    if (has(kInsideTemp)) addRow(kRowInsideTemp, temp(tenthsF(s_.insideTemperature)));
    if (has(kInsideHum)) addRow(kRowInsideHum, hum(percent(s_.insideHumidity)));
  }

  void barometerLines() {
    if (!has(kBarometer)) return;
    const float inHg = s_.barometer == kImageNone16 ? kNoData : s_.barometer / 1000.0f;
    addRow(kRowBarometer, quantities::BarStr(units_, inHg, false));
    add(platform::loadString(kTextBarTrend), trendText());
  }

  // The trend word for the console's code. The no-data code is checked first: read as a
  // number it would pass for "falling rapidly".
  std::string trendText() const {
    const int trend = s_.barometerTrend;
    if (s_.barometerTrend == kImageNone16) return dash();
    if (config_.isCirrant()) return quantities::BarTrendStr(trend);
    if (config_.isBasalt() || config_.isLumeno()) {
      if (trend == -20) return platform::loadString(kTextClassicTrends);
      if (trend == 0) return platform::loadString(kTextClassicTrends + 1);
      if (trend == 20) return platform::loadString(kTextClassicTrends + 2);
    }
    return dash();
  }

  void windLines() {
    const std::string speedUnit = units_.speedUnitText();
    if (has(kWindSpeed)) {
      addRow(kRowWindSpeed, quantities::SpeedStr(units_, mph(s_.windSpeed), false));
      add(platform::loadString(kTextWindAverage),
          withUnit(quantities::SpeedStr(units_, mph(s_.windSpeedAverage), false), speedUnit));
    }
    if (has(kWindDir)) addRow(kRowWindDir, directionText());
  }

  // Degrees and compass point. 0 is the console's north and shows as 360; anything
  // beyond 360 is not a direction.
  std::string directionText() const {
    int degrees = s_.windDirection;
    if (degrees > 360) return dash();
    if (degrees == 0) degrees = 360;
    int point = static_cast<int>(std::floor((degrees + 11.25) / 22.5));
    if (point >= 16) point = 0;
    return std::to_string(degrees) + "° " + quantities::DomDirStr(point);
  }

  // A rain total in collector tips. The totals are counts, so a negative one (the 16-bit
  // no-data value among them) is no reading.
  std::string rainTotal(std::int16_t tips) const {
    if (tips < 0) return dash();
    const double inches = units_.ConvertRain(tips, 2, collector_);
    return withUnit(quantities::RainStr(units_, static_cast<float>(inches), false),
                    units_.rainUnitText());
  }

  void rainLines() {
    if (has(kRainRate)) {
      std::string rate = dash();
      if (s_.rainRate >= 0) {  // 0x8000 and 0xFFFF are no reading
        const double inPerHour = units_.ConvertRain(s_.rainRate, 2, collector_);
        rate =
            quantities::RainStr(units_, static_cast<float>(units_.ConvertRate(inPerHour, 0)), true);
      }
      add(platform::loadString(kTextRainRate), withUnit(rate, units_.rateUnitText()));
    }
    if (!has(kRainCollector)) return;
    // Only the newer console reports the day's, month's and storm's rain; the older ones'
    // images hold a zero for the day that is no reading at all.
    const bool cirrant = config_.isCirrant();
    add(platform::loadString(kTextRainDay), cirrant ? rainTotal(s_.rainDay) : dash());
    add(platform::loadString(kTextRainMonth), cirrant ? rainTotal(s_.rainMonth) : dash());
    add(platform::loadString(kTextRainYear), rainTotal(s_.rainYear));
    add(platform::loadString(kTextStormRain), cirrant ? rainTotal(s_.stormRain) : dash());
  }

  // Evapotranspiration in `unitsPerInch` steps; negative amounts are no reading.
  std::string et(std::int16_t v, float unitsPerInch) const {
    if (v < 0) return dash();
    return withUnit(quantities::ETStr(units_, v / unitsPerInch, false), units_.rainUnitText());
  }

  void evapotranspirationLines() {
    if (!has(kEt)) return;
    add(platform::loadString(kTextEtDay), et(s_.etDay, 1000.0f));
    add(platform::loadString(kTextEtMonth), et(s_.etMonth, 100.0f));
    add(platform::loadString(kTextEtYear), et(s_.etYear, 100.0f));
  }

  void radiationLines() {
    if (has(kSolar)) {
      const float w = s_.solarRadiation == kImageNone16 ? kNoData : s_.solarRadiation;
      addRow(kRowSolar, quantities::SolarRadStr(w));
    }
    if (has(kUv)) addRow(kRowUv, quantities::UVStr(s_.uvIndex));
  }

  void extraSensorLines() {
    // Sensor i of a group is present with mask bit `firstBit` + i and shown on row
    // `firstRow` + i.
    auto group = [this](int count, int firstBit, int firstRow, auto value) {
      for (int i = 0; i < count; ++i) {
        if (has(1u << (firstBit + i))) addRow(firstRow + i, value(i));
      }
    };
    group(3, kExtraTempBit, kRowExtraTemp2,
          [this](int i) { return temp(byteTempF(s_.extraTemperatures[i])); });
    group(2, kExtraHumBit, kRowExtraHum2,
          [this](int i) { return hum(percent(s_.extraHumidities[i])); });
    group(4, kSoilMoistureBit, kRowSoilMoisture1,
          [this](int i) { return quantities::LeafSoilStr(s_.soilMoistures[i]); });
    group(4, kSoilTempBit, kRowSoilTemp1,
          [this](int i) { return temp(byteTempF(s_.soilTemperatures[i])); });
    group(4, kLeafWetnessBit, kRowLeafWetness1,
          [this](int i) { return quantities::LeafSoilStr(s_.leafWetnesses[i]); });
    group(4, kLeafTempBit, kRowLeafTemp1,
          [this](int i) { return temp(byteTempF(s_.leafTemperatures[i])); });
  }

  void batteryLines() {
    // Only the newer console measures its own battery and its transmitters' batteries.
    if (config_.isCirrant()) {
      add(platform::loadString(kTextConsoleBattery),
          stationlink::consoleBatteryText(s_.consoleBattery));
    }
    if (s_.transmitterBattery == 0) return;
    // Bit n stands for the transmitter people know as number n + 1.
    std::string ids;
    for (int bit = 0; bit < 8; ++bit) {
      if ((s_.transmitterBattery & (1u << bit)) == 0) continue;
      if (!ids.empty()) ids += ' ';
      ids += std::to_string(bit + 1);
    }
    add(platform::loadString(kTextTransmitterBattery), ids);
  }

  const SensorImage& s_;
  const station::StationConfig& config_;
  const quantities::Units& units_;
  quantities::StationRainCollector collector_;
  std::vector<Line> lines_;
};

std::string headerLine(const station::StationConfig& config, const platform::IntlSettings& intl,
                       const platform::CivilTime& at) {
  const auto minutes = static_cast<std::uint16_t>(at.hour * 60 + at.minute);
  const records::DateTime dt = records::DateTime::fromDate(at.year, at.month, at.day, minutes);
  std::string line = config.stationName();
  if (!line.empty()) line += "  ";
  line += quantities::shortDateText(dt, intl) + " " + quantities::timeText(dt, intl);
  return line;
}

}  // namespace

std::string bulletinText(const SensorImage& image, const station::StationConfig& config,
                         const quantities::Units& units, const platform::IntlSettings& intl,
                         const platform::CivilTime& readAt) {
  std::vector<Line> lines = Bulletin(image, config, units).lines();
  std::size_t width = 0;
  for (const Line& l : lines) width = std::max(width, quantities::characterCount(l.label));

  std::string out = headerLine(config, intl, readAt) + "\n";
  for (const Line& l : lines) {
    out += l.label;
    out.append(width - quantities::characterCount(l.label) + 2, ' ');
    out += l.value;
    out += '\n';
  }
  return out;
}

}  // namespace frame
