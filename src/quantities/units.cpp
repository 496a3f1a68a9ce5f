#include "quantities/units.h"

#include <cmath>

#include "platform/string_table.h"
#include "quantities/text_ids.h"

namespace quantities {

namespace {

bool missing(double v) { return v == kNoDataValue || !std::isfinite(v); }

// +0.5 and truncation, as the stored fields are rounded.
double roundTo(double v, double scale) { return std::trunc(v * scale + 0.5) / scale; }

std::string unitText(int base, int index) { return platform::loadString(base + index); }

}  // namespace

double stationInchesPerTip(const StationRainCollector& collector) {
  switch (collector.type) {
    case 0:
      return 0.1;
    case 1:
      return 0.01;
    case 2:
      return 0.2 / 25.4;
    case 3:
      return 1.0 / 25.4;
    case 4:
      return collector.rainClick;
    case 5:
      return collector.rainClick / 25.4;
    case 6:
      return 0.1 / 25.4;
    default:
      return 0.01;
  }
}

int Units::SetTempUnit(int unit) {
  if (unit >= kFahrenheit && unit <= kCelsius) current_.temp = unit;
  return 0;
}
int Units::SetBarUnit(int unit) {
  if (unit >= kInchesHg && unit <= kHectopascals) current_.bar = unit;
  return 0;
}
int Units::SetWindSpeedUnit(int unit) {
  if (unit >= kMph && unit <= kMetresPerSecond) current_.speed = unit;
  return 0;
}
int Units::SetRainUnit(int unit) {
  if (unit >= kInches && unit <= kMillimetres) current_.rain = unit;
  return 0;
}
int Units::SetElevUnit(int unit) {
  if (unit >= kMetres && unit <= kFeet) current_.elev = unit;
  return 0;
}
int Units::SetHumPrecision(int decimals) {
  if (decimals >= 0 && decimals <= 255) humDecimals_ = decimals;
  return 0;
}

void Units::RestoreUnits() {
  const Codes s = saved_;
  (void)SetTempUnit(s.temp);
  (void)SetBarUnit(s.bar);
  (void)SetWindSpeedUnit(s.speed);
  (void)SetRainUnit(s.rain);
  (void)SetElevUnit(s.elev);
}

double Units::ConvertTemp(double v, unsigned direction) const {
  if (missing(v) || direction > 1) return kNoDataValue;
  if (direction == 0) {
    if (v == 32767.0) return kNoDataValue;
    return current_.temp == kCelsius ? (v - 32.0) * 5.0 * 0.1111111111111111 : v;
  }
  return current_.temp == kCelsius ? v * 1.8 + 32.0 : v;
}

double Units::ConvertDegDay(double v, unsigned direction) const {
  if (missing(v) || direction > 1) return kNoDataValue;
  if (current_.temp != kCelsius) return v;
  return direction == 0 ? v * 5.0 * 0.1111111111111111 : v * 9.0 * 0.2;
}

double Units::ConvertBar(double v, unsigned direction) const {
  if (missing(v) || direction > 1) return kNoDataValue;
  if (direction == 0) {
    if (v == 32767.0) return kNoDataValue;
    switch (current_.bar) {
      case kMillimetresHg:
        return v * 25.4;
      case kMillibars:
      case kHectopascals:
        return v * 33.864;
      default:
        return v;
    }
  }
  double in = v;
  switch (current_.bar) {
    case kMillimetresHg:
      in = roundTo(v * 0.03937007874015748, 1000.0);
      break;
    case kMillibars:
    case kHectopascals:
      in = roundTo(v * 0.029529971444517612, 1000.0);
      break;
    default:
      break;
  }
  if (in < 0.0 || in > 32.767) return kNoDataValue;
  return in;
}

double Units::ConvertSpeed(double v, unsigned direction) const {
  if (missing(v) || direction > 1) return kNoDataValue;
  if (direction == 0) {
    switch (current_.speed) {
      case kKnots:
        return v * 0.8695652173913044;
      case kKmh:
        return v * 1.609344;
      case kMetresPerSecond:
        return v * 0.44704;
      default:
        return v;
    }
  }
  double mph = v;
  switch (current_.speed) {
    case kKnots:
      mph = roundTo(v * 1.151, 10.0);
      break;
    case kKmh:
      mph = roundTo(v * 0.621371192237334, 10.0);
      break;
    case kMetresPerSecond:
      mph = roundTo(v * 2.2369362920544025, 10.0);
      break;
    default:
      break;
  }
  if (mph < 0.0 || mph > 3276.7) return kNoDataValue;
  return mph;
}

double Units::ConvertRain(double v, unsigned direction,
                          const StationRainCollector& collector) const {
  if (missing(v) || direction > 2) return kNoDataValue;
  if (direction == 2) return std::floor(v + 0.5) * stationInchesPerTip(collector);
  if (current_.rain != kMillimetres) return v;
  return direction == 0 ? v * 25.4 : v * 0.03937007874015748;
}

double Units::ConvertRate(double v, unsigned direction) const {
  if (missing(v) || direction > 1) return kNoDataValue;
  if (current_.rain != kMillimetres) return v;
  return direction == 0 ? v * 25.4 : v * 0.03937007874015748;
}

int Units::ConvertElevation(int v, int direction) const {
  if (direction != 0 && direction != 1) return kBadDirectionElevation;
  if (v == kNoDataElevation || current_.elev != kMetres) return v;
  const double x = direction == 0 ? v * 0.3048 : v * 3.280839895013123;
  return static_cast<int>(std::round(x));  // half away from zero
}

std::string Units::tempUnitText() const { return unitText(text::kTempUnits, current_.temp); }
std::string Units::barUnitText() const { return unitText(text::kBarUnits, current_.bar); }
std::string Units::speedUnitText() const { return unitText(text::kSpeedUnits, current_.speed); }
std::string Units::speedUnitTextCapitalised() const {
  return unitText(text::kSpeedUnitsCapital, current_.speed);
}
std::string Units::rainUnitText() const { return unitText(text::kRainUnits, current_.rain); }
std::string Units::rateUnitText() const { return unitText(text::kRateUnits, current_.rain); }
std::string Units::elevUnitText() const { return unitText(text::kElevUnits, current_.elev); }
std::string Units::distanceUnitText() const {
  switch (current_.speed) {
    case kKnots:
      return unitText(text::kSpeedUnits, kKnots);
    case kKmh:
    case kMetresPerSecond:
      return unitText(text::kKilometresUnit, 0);
    default:
      return unitText(text::kMilesUnit, 0);
  }
}
std::string Units::airDensityUnitText() const { return unitText(text::kAirDensityUnit, 0); }
std::string Units::solarUnitText() const { return unitText(text::kSolarUnit, 0); }

}  // namespace quantities
