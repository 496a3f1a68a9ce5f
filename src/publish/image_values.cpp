#include "publish/image_values.h"

#include <cmath>

#include "quantities/text_format.h"
#include "quantities/value_strings.h"

namespace publish {

namespace {

using quantities::kNoDataValue;
using stationlink::kImageNone16;
using stationlink::kImageNone8;

void copyBytes(records::ArchiveRecord& r, std::size_t offset, const std::uint8_t* from, int n) {
  for (int i = 0; i < n; ++i) r.setU8(offset + static_cast<std::size_t>(i), from[i]);
}

// Humidity in whole percent; the console's "none" (0xFF) and the reset value (128) read
// as no value.
std::int16_t humidityTenths(std::uint8_t percent) {
  return percent > 100 ? records::kNoData16 : static_cast<std::int16_t>(percent * 10);
}

double tipsToInches(std::int16_t tips, const quantities::StationRainCollector& collector) {
  if (tips < 0) return kNoDataValue;
  return tips * quantities::stationInchesPerTip(collector);
}

double etInches(std::int16_t v, double scale) {
  return v == kImageNone16 || v < 0 ? kNoDataValue : v * scale;
}

}  // namespace

records::ArchiveRecord recordOfReading(const stationlink::SensorImage& image) {
  records::ArchiveRecord r;
  r.setU8(records::kArcInterval, 1);
  r.setI16(records::kArcOutsideTemp, image.outsideTemperature);
  r.setI16(records::kArcInsideTemp, image.insideTemperature);
  r.setI16(records::kArcBarometer, image.barometer);
  r.setI16(records::kArcOutsideHumidity, humidityTenths(image.outsideHumidity));
  r.setI16(records::kArcInsideHumidity, humidityTenths(image.insideHumidity));
  r.setI16(records::kArcWindSpeed,
           image.windSpeed == kImageNone8 ? records::kNoData16
                                          : static_cast<std::int16_t>(image.windSpeed * 10));
  if (image.windDirection >= 1 && image.windDirection <= 360) {
    const int point = static_cast<int>(std::lround((image.windDirection % 360) / 22.5)) % 16;
    r.setU8(records::kArcWindDirection, static_cast<std::uint8_t>(point));
  }
  r.setI16(records::kArcSolarRadiation, image.solarRadiation);
  r.setU8(records::kArcUvIndex, image.uvIndex);
  copyBytes(r, records::kArcExtraTemps, image.extraTemperatures.data(), records::kExtraCount);
  copyBytes(r, records::kArcExtraHumidities, image.extraHumidities.data(), records::kExtraCount);
  copyBytes(r, records::kArcSoilTemps, image.soilTemperatures.data(), 4);
  copyBytes(r, records::kArcSoilMoistures, image.soilMoistures.data(), 4);
  copyBytes(r, records::kArcLeafWetnesses, image.leafWetnesses.data(), 4);
  copyBytes(r, records::kArcLeafTemps, image.leafTemperatures.data(), 4);
  return r;
}

double userValue(const quantities::Units& units, quantities::SensorCode code, double v) {
  if (v == kNoDataValue) return v;
  switch (quantities::codeClass(code)) {
    case quantities::kClassTemperature:
      return units.ConvertTemp(v, 0);
    case quantities::kClassDegreeDays:
      return units.ConvertDegDay(v, 0);
    case quantities::kClassRain:
      return units.ConvertRain(v, 0);
    case quantities::kClassRainRate:
      return units.ConvertRate(v, 0);
    case quantities::kClassWindSpeed:
      return units.ConvertSpeed(v, 0);
    case quantities::kClassBarometer:
      return units.ConvertBar(v, 0);
    default:
      return v;
  }
}

std::string valueText(const quantities::Units& units, quantities::SensorCode code, double value) {
  if (value == kNoDataValue || !std::isfinite(value)) return std::string(quantities::kDash3);
  if (quantities::codeClass(code) == quantities::kClassDirection) {
    return quantities::DomDirStr(static_cast<int>(value));
  }
  return quantities::fixedText(value, quantities::NumDecimals(units, code));
}

ShownValue currentValue(const ImageKind& kind, const stationlink::SensorImage* image,
                        const quantities::ValueContext& ctx,
                        const quantities::StationRainCollector& collector) {
  ShownValue shown;
  shown.unit = quantities::GetUnitStr(ctx.units, kind.code);
  if (image == nullptr) return shown;
  double internal = kNoDataValue;
  switch (kind.source) {
    case ImageSource::kWindAverage:
      internal = image->windSpeedAverage == kImageNone8 ? kNoDataValue : image->windSpeedAverage;
      break;
    case ImageSource::kWindDirection:
      // Degrees, as the compass card shows them; the text names the compass point.
      if (image->windDirection >= 1 && image->windDirection <= 360) {
        shown.value = image->windDirection;
        const int point = static_cast<int>(std::lround((image->windDirection % 360) / 22.5)) % 16;
        shown.text = quantities::DomDirStr(point) + " " + std::to_string(image->windDirection) + "°";
      }
      return shown;
    case ImageSource::kRainDay:
      internal = tipsToInches(image->rainDay, collector);
      break;
    case ImageSource::kRainStorm:
      internal = tipsToInches(image->stormRain, collector);
      break;
    case ImageSource::kRainMonth:
      internal = tipsToInches(image->rainMonth, collector);
      break;
    case ImageSource::kRainYear:
      internal = tipsToInches(image->rainYear, collector);
      break;
    case ImageSource::kRainRate:
      internal = image->rainRate == kImageNone16 || image->rainRate < 0
                     ? kNoDataValue
                     : tipsToInches(image->rainRate, collector);
      break;
    case ImageSource::kEtDay:
      internal = etInches(image->etDay, 0.001);
      break;
    case ImageSource::kEtMonth:
      internal = etInches(image->etMonth, 0.01);
      break;
    case ImageSource::kEtYear:
      internal = etInches(image->etYear, 0.01);
      break;
    default: {
      float v = 0;
      (void)quantities::GetWeatherData(recordOfReading(*image), kind.code, 1, &v, ctx);
      internal = v;
      break;
    }
  }
  if (internal == kNoDataValue) return shown;
  shown.value = userValue(ctx.units, kind.code, internal);
  shown.text = valueText(ctx.units, kind.code, shown.value);
  return shown;
}

}  // namespace publish
