#include "quantities/value_strings.h"

#include <cmath>

#include "platform/string_table.h"
#include "quantities/sensor_code.h"
#include "quantities/text_format.h"
#include "quantities/text_ids.h"

namespace quantities {

namespace {

bool missing(double v) { return v == kNoDataValue || !std::isfinite(v); }

std::string dash() { return std::string(kDash3); }

}  // namespace

std::string TempStr(const Units& units, float value, bool userUnits) {
  if (missing(value) || value >= 32767.0f) return dash();
  const double v = userUnits ? value : units.ConvertTemp(value, 0);
  return missing(v) ? dash() : fixedText(v, 1);
}

std::string SpeedStr(const Units& units, float value, bool userUnits) {
  if (missing(value)) return dash();
  const double v = userUnits ? value : units.ConvertSpeed(value, 0);
  return missing(v) ? dash() : fixedText(v, 1);
}

std::string BarStr(const Units& units, float value, bool userUnits) {
  if (missing(value)) return dash();
  const double v = userUnits ? value : units.ConvertBar(value, 0);
  if (missing(v)) return dash();
  return fixedText(v, units.GetBarUnit() == kInchesHg ? 3 : 1);
}

std::string RainStr(const Units& units, float value, bool userUnits) {
  if (missing(value)) return dash();
  const double v = userUnits ? value : units.ConvertRain(value, 0);
  if (missing(v)) return dash();
  return fixedText(v, units.GetRainUnit() == kInches ? 2 : 1);
}

std::string ETStr(const Units& units, float value, bool userUnits) {
  if (missing(value)) return dash();
  const double v = userUnits ? value : units.ConvertRain(value, 0);
  if (missing(v)) return dash();
  return fixedText(v, units.GetRainUnit() == kInches ? 3 : 2);
}

std::string GetAirDensityStr(float value) {
  if (missing(value)) return dash();
  return fixedText(value, 4);
}

std::string HumStr(const Units& units, float value) {
  if (missing(value)) return dash();
  return fixedText(value, units.GetHumPrecision());
}

std::string SolarRadStr(float value) {
  if (missing(value) || value == 4095.0f) return dash();
  return fixedText(value, 0);
}

std::string UVStr(int tenths) {
  if (tenths == 255 || tenths == 0x8000 || tenths == -0x8000) return dash();
  return fixedText(tenths * 0.1, 1);
}

std::string LeafSoilStr(int value) {
  if (value == 255 || value == -32768) return dash();
  return std::to_string(value);
}

std::string DomDirStr(int direction) {
  if (direction < 0 || direction > 15) return dash();
  return platform::loadString(text::kCompassPoints + direction);
}

std::string BarTrendStr(int trend) {
  int which;
  if (trend <= -60) {
    which = 0;
  } else if (trend == -20) {
    which = 1;
  } else if (trend == 0) {
    which = 2;
  } else if (trend == 20) {
    which = 3;
  } else if (trend == 60) {
    which = 4;
  } else {
    return dash();
  }
  return platform::loadString(text::kBarTrends + which);
}

std::string GetUnitStr(const Units& units, std::uint32_t code) {
  using platform::loadString;
  switch (codeClass(code)) {
    case kClassTemperature:
    case kClassDegreeDays:
      return units.tempUnitText();
    case kClassRain:
      return units.rainUnitText();
    case kClassRainRate:
      return units.rateUnitText();
    case kClassWindSpeed:
      return units.speedUnitText();
    case kClassBarometer:
      return units.barUnitText();
    case kClassSolarRadiation:
      return units.solarUnitText();
    case kClassSolarEnergy:
      return loadString(text::kSolarEnergyUnit);
    case kClassUvIndex:
      return loadString(text::kUvIndexUnit);
    case kClassUvDose:
      return loadString(text::kUvDoseUnit);
    case kClassHumidity:
      return loadString(text::kHumidityUnit);
    case kClassSoilMoisture:
      return loadString(text::kSoilMoistureUnit);
    case kClassDistance:
      return units.distanceUnitText();
    case kClassElevation:
      return units.elevUnitText();
    default:
      return {};
  }
}

int NumDecimals(const Units& units, std::uint32_t code, int internal) {
  switch (codeClass(code)) {
    case kClassTemperature:
      return 1;
    case kClassDegreeDays:
      return 2;
    case kClassRain:
    case kClassRainRate:
      return units.GetRainUnit() == kInches ? 2 : 1;
    case kClassWindSpeed:
      return 1;
    case kClassBarometer:
      if (units.GetBarUnit() != kInchesHg) return 1;
      return internal > 0 ? 2 : 3;
    case kClassSolarEnergy:
    case kClassUvIndex:
      return 1;
    case kClassUvDose:
      return 2;
    case kClassHumidity:
      if (codeDerived(code) == kMeasured && codeCategory(code) == kCatHumidity)
        return units.GetHumPrecision();
      return 1;
    case kClassDistance:
      return 1;
    case kClassAirDensity:
      return 4;
    default:
      return 0;
  }
}

}  // namespace quantities
