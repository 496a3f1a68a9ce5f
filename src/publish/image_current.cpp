#include "publish/image_current.h"

#include <algorithm>
#include <cmath>

#include "publish/image_history.h"
#include "quantities/text_format.h"
#include "quantities/value_strings.h"

namespace publish {

namespace {

constexpr double kGaugeStartDeg = 225.0;  // the scale runs clockwise through the top
constexpr double kGaugeSpanDeg = 270.0;

// Scales in internal units, as wide as the weather usually goes.
GaugeRange internalRange(const ImageKind& kind) {
  using namespace quantities;
  if (codeDerived(kind.code) == kEmc) return {0, 30};
  if (codeDerived(kind.code) == kEvapotranspiration) return {0, 0.5};
  switch (codeClass(kind.code)) {
    case kClassTemperature: return {-20, 120};
    case kClassHumidity: return {0, 100};
    case kClassWindSpeed: return {0, 60};
    case kClassBarometer: return {28.5, 31.0};
    case kClassRain: return {0, 2};
    case kClassRainRate: return {0, 2};
    case kClassSolarRadiation: return {0, 1400};
    case kClassUvIndex: return {0, 16};
    case kClassSoilMoisture: return {0, 200};
    case kClassLeafWetness: return {0, 15};
    case kClassAirDensity: return {0.06, 0.09};
    default: return {0, 100};
  }
}

// The largest scale (up to `most`) at which the text fits `width`.
int fittingScale(const std::string& text, int width, int most) {
  for (int s = most; s > 1; --s) {
    if (Raster::textWidth(text, s) <= width) return s;
  }
  return 1;
}

void centredText(Raster& r, int cx, int y, const std::string& text, std::uint8_t ink, int scale) {
  r.text(cx - Raster::textWidth(text, scale) / 2, y, text, ink, scale);
}

void drawGauge(Raster& r, int cx, int cy, int radius, const ImageKind& kind,
               const quantities::Units& units, const ShownValue& value, bool labels) {
  r.disc(cx, cy, radius, kInkFace);
  r.arc(cx, cy, radius, 0, 360, kInkAxis);
  const int scaleRadius = std::max(radius - 3, 2);
  r.arc(cx, cy, scaleRadius, kGaugeStartDeg, kGaugeStartDeg + kGaugeSpanDeg, kInkScale,
        radius > 40 ? 2 : 1);
  for (int t = 0; t <= 10; ++t) {
    const double a = (kGaugeStartDeg + kGaugeSpanDeg * t / 10) * 3.14159265358979 / 180.0;
    const int inner = scaleRadius - (t % 5 == 0 ? std::max(radius / 5, 3) : std::max(radius / 10, 2));
    r.line(cx + static_cast<int>(std::lround(inner * std::sin(a))),
           cy - static_cast<int>(std::lround(inner * std::cos(a))),
           cx + static_cast<int>(std::lround(scaleRadius * std::sin(a))),
           cy - static_cast<int>(std::lround(scaleRadius * std::cos(a))), kInkScale);
  }
  const GaugeRange range = gaugeRange(kind, units, value.value);
  if (labels) {
    const int d = quantities::NumDecimals(units, kind.code) > 0 && range.high - range.low < 10 ? 1 : 0;
    const std::string lo = quantities::fixedText(range.low, d);
    const std::string hi = quantities::fixedText(range.high, d);
    const int y = cy + radius * 7 / 10 - Raster::textHeight() / 2;
    r.text(cx - radius * 6 / 10, y, lo, kInkText);
    r.text(cx + radius * 6 / 10 - Raster::textWidth(hi), y, hi, kInkText);
  }
  if (value.value != quantities::kNoDataValue) {
    double f = (value.value - range.low) / (range.high - range.low);
    f = std::clamp(f, 0.0, 1.0);
    r.needle(cx, cy, scaleRadius - 2, kGaugeStartDeg + kGaugeSpanDeg * f, kInkNeedle,
             std::max(radius / 8, 3));
  }
  r.disc(cx, cy, std::max(radius / 12, 2), kInkAxis);
}

void drawCompass(Raster& r, int cx, int cy, int radius, const ShownValue& value) {
  r.disc(cx, cy, radius, kInkFace);
  r.arc(cx, cy, radius, 0, 360, kInkAxis, radius > 40 ? 2 : 1);
  for (int p = 0; p < 16; ++p) {
    const double a = p * 22.5 * 3.14159265358979 / 180.0;
    const int inner = radius - (p % 4 == 0 ? std::max(radius / 5, 3) : std::max(radius / 10, 2));
    r.line(cx + static_cast<int>(std::lround(inner * std::sin(a))),
           cy - static_cast<int>(std::lround(inner * std::cos(a))),
           cx + static_cast<int>(std::lround(radius * std::sin(a))),
           cy - static_cast<int>(std::lround(radius * std::cos(a))), kInkScale);
  }
  const int scale = radius >= 60 ? 2 : 1;
  const int letterRadius = radius - std::max(radius / 5, 3) - Raster::textHeight(scale) * 2 / 3;
  const char* letters[] = {"N", "E", "S", "O"};
  for (int k = 0; k < 4; ++k) {
    const double a = k * 90.0 * 3.14159265358979 / 180.0;
    const int x = cx + static_cast<int>(std::lround(letterRadius * std::sin(a)));
    const int y = cy - static_cast<int>(std::lround(letterRadius * std::cos(a)));
    r.text(x - Raster::textWidth(letters[k], scale) / 2, y - Raster::textHeight(scale) / 2 + scale,
           letters[k], kInkCompass, scale);
  }
  if (value.value != quantities::kNoDataValue) {
    r.needle(cx, cy, radius - 3, value.value, kInkNeedle, std::max(radius / 7, 3));
  }
  r.disc(cx, cy, std::max(radius / 12, 2), kInkAxis);
}

}  // namespace

GaugeRange gaugeRange(const ImageKind& kind, const quantities::Units& units, double value) {
  const GaugeRange in = internalRange(kind);
  GaugeRange out{userValue(units, kind.code, in.low), userValue(units, kind.code, in.high)};
  if (value != quantities::kNoDataValue) {
    if (value < out.low) out.low = std::floor(value);
    if (value > out.high) out.high = std::ceil(value * 1.25);
  }
  if (out.high <= out.low) out.high = out.low + 1;
  // Round ends, so the scale's labels read as a person would mark them.
  const double step = niceStep(out.low, out.high, 8);
  out.low = std::floor(out.low / step + 1e-9) * step;
  out.high = std::ceil(out.high / step - 1e-9) * step;
  return out;
}

Raster drawCurrentPicture(const ImageKind& kind, const std::string& title, const ShownValue& value,
                          const quantities::Units& units, int sizeCode) {
  const PictureSize size = currentPictureSize(sizeCode);
  Raster r(size.width, size.height, kInkBackground);
  r.rectangle(0, 0, size.width, size.height, kInkAxis, false);
  const bool compass = kind.source == ImageSource::kWindDirection;
  const std::string shown =
      value.unit.empty() || value.value == quantities::kNoDataValue || compass
          ? value.text
          : value.text + " " + value.unit;
  const std::uint8_t valueInk = value.value == quantities::kNoDataValue ? kInkMissing : kInkText;
  const int margin = 3;
  const int lineHeight = Raster::textHeight() + 1;

  if (size.width > 2 * size.height) {
    // A strip: the gauge at the left, name and value beside it.
    const int radius = size.height / 2 - margin;
    const int cx = margin + radius;
    const int cy = size.height / 2;
    if (compass) drawCompass(r, cx, cy, radius, value);
    else drawGauge(r, cx, cy, radius, kind, units, value, false);
    const int left = cx + radius + 2 * margin;
    const int room = size.width - left - margin;
    const std::vector<std::string> lines = Raster::wrapText(title, room);
    r.text(left, margin + 1, lines.empty() ? "" : lines.front(), kInkTitle);
    const int scale = fittingScale(shown, room, 3);
    r.text(left, size.height - margin - Raster::textHeight(scale), shown, valueInk, scale);
    return r;
  }

  std::vector<std::string> lines = Raster::wrapText(title, size.width - 2 * margin);
  if (lines.size() > 2) lines.resize(2);
  int y = margin + 1;
  for (const std::string& line : lines) {
    centredText(r, size.width / 2, y, line, kInkTitle, 1);
    y += lineHeight;
  }
  const int scale = fittingScale(shown, size.width - 2 * margin, size.width >= 200 ? 3 : 2);
  const int valueTop = size.height - margin - Raster::textHeight(scale);
  centredText(r, size.width / 2, valueTop, shown, valueInk, scale);
  const int top = y + 1;
  const int bottom = valueTop - 3;
  const int radius = std::max(std::min((bottom - top) / 2, size.width / 2 - margin), 4);
  const int cy = top + (bottom - top) / 2;
  if (compass) drawCompass(r, size.width / 2, cy, radius, value);
  else drawGauge(r, size.width / 2, cy, radius, kind, units, value, radius >= 45);
  return r;
}

}  // namespace publish
