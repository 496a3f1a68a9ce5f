#include "publish/image_history.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "database/summary_values.h"
#include "publish/image_style.h"
#include "publish/image_values.h"
#include "quantities/code_resolver.h"
#include "quantities/text_format.h"
#include "quantities/value_strings.h"

namespace publish {

namespace {

using quantities::kNoDataValue;

struct Point {
  double x;  // minutes after the span's start, or the day's place for bars
  double y;  // user units
  bool joined;  // a line leads to it from the point before
};

struct Series {
  std::vector<Point> points;
  double low = 0;
  double high = 0;
};

// The widest gap between records that a line still bridges: a missed download or a
// console that was off shows as a break.
int bridgedMinutes(const records::ArchiveRecord& r) { return std::max(2 * r.interval(), 10) + 1; }

Series lineSeries(const ImageKind& kind, const HistoryData& data,
                  const quantities::ValueContext& ctx) {
  Series s;
  const quantities::ResolvedCode code = quantities::resolveCode(kind.code);
  const std::int64_t start = data.endMinute - kHistoryMinutes;
  const bool direction = kind.source == ImageSource::kWindDirection;
  double sum = 0;
  std::int64_t last = -1;
  bool lastValid = false;
  for (const TimedRecord& t : data.records) {
    double v = quantities::readValue(t.record, code, false, ctx);
    const bool valid = v != kNoDataValue && std::isfinite(v);
    const bool near = last >= 0 && t.minute - last <= bridgedMinutes(t.record);
    last = t.minute;
    if (!valid) {
      lastValid = false;
      continue;
    }
    if (direction) v *= 22.5;
    if (kind.source == ImageSource::kRecordSum) {
      sum += v;
      v = sum;
    }
    s.points.push_back({static_cast<double>(t.minute - start), v, near && lastValid && !direction});
    lastValid = true;
  }
  return s;
}

Series barSeries(const ImageKind& kind, const HistoryData& data, const quantities::Units& units) {
  Series s;
  for (std::size_t i = 0; i < data.days.size(); ++i) {
    if (!data.days[i].summary) continue;
    float v = 0;
    (void)database::GetSummaryData(*data.days[i].summary, kind.code, 0, &v, units);
    if (v == kNoDataValue || !std::isfinite(v)) continue;
    s.points.push_back({static_cast<double>(i), v, false});
  }
  return s;
}

void findRange(Series& s, bool fromZero) {
  if (s.points.empty()) return;
  auto [lo, hi] = std::minmax_element(s.points.begin(), s.points.end(),
                                      [](const Point& a, const Point& b) { return a.y < b.y; });
  s.low = lo->y;
  s.high = hi->y;
  if (fromZero) {
    s.low = std::min(s.low, 0.0);
    s.high = std::max(s.high, 0.0);
  }
  if (s.high - s.low < 1e-9) {
    const double pad = std::max(std::fabs(s.high) * 0.1, 1.0);
    s.low -= fromZero && s.low >= 0 ? 0 : pad;
    s.high += pad;
  }
}

int decimalsFor(double step) {
  if (step >= 1) return 0;
  return std::min(4, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

std::string hourLabel(int hour, const platform::IntlSettings& intl) {
  char buf[16];
  if (intl.clock24) {
    std::snprintf(buf, sizeof buf, "%02d%c00", hour, intl.timeSeparator);
  } else {
    const int h = hour % 12 == 0 ? 12 : hour % 12;
    std::snprintf(buf, sizeof buf, "%d%c", h, hour < 12 ? 'a' : 'p');
  }
  return buf;
}

std::string dayLabel(const records::DateTime& d, const platform::IntlSettings& intl) {
  char buf[16];
  if (intl.dateOrder == 1) {
    std::snprintf(buf, sizeof buf, "%02d%c%02d", d.day, intl.dateSeparator, d.month);
  } else {
    std::snprintf(buf, sizeof buf, "%02d%c%02d", d.month, intl.dateSeparator, d.day);
  }
  return buf;
}

struct Plot {
  int left, top, right, bottom;  // inclusive pixel bounds of the plotting area
  double low, high;              // value range
  double span;                   // x range

  int xAt(double x) const {
    return left + static_cast<int>(std::lround((right - left) * x / span));
  }
  int yAt(double v) const {
    return bottom - static_cast<int>(std::lround((bottom - top) * (v - low) / (high - low)));
  }
};

}  // namespace

double niceStep(double low, double high, int maxTicks) {
  const double range = std::max(high - low, 1e-9);
  const double raw = range / std::max(maxTicks, 1);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    if (m * power >= raw) return m * power;
  }
  return 10 * power;
}

Raster drawHistoryPicture(const ImageKind& kind, const std::string& title, const HistoryData& data,
                          const quantities::ValueContext& ctx, int sizeCode) {
  const PictureSize size = historyPictureSize(sizeCode);
  Raster r(size.width, size.height, kInkBackground);
  r.rectangle(0, 0, size.width, size.height, kInkAxis, false);
  const bool bars = kind.source == ImageSource::kDailyBars;
  const bool direction = kind.source == ImageSource::kWindDirection;
  Series s = bars ? barSeries(kind, data, ctx.units) : lineSeries(kind, data, ctx);
  findRange(s, bars || kind.source == ImageSource::kRecordSum);

  const std::string unit = quantities::GetUnitStr(ctx.units, kind.code);
  const std::string heading = unit.empty() ? title : title + " (" + unit + ")";
  const int margin = 4;
  const int th = Raster::textHeight();
  const bool big = size.height >= 300;
  const int titleScale = big && Raster::textWidth(heading, 2) <= size.width - 2 * margin ? 2 : 1;
  std::string shownHeading = heading;
  while (Raster::textWidth(shownHeading, titleScale) > size.width - 2 * margin &&
         shownHeading.size() > 4) {
    shownHeading.pop_back();
  }
  r.text((size.width - Raster::textWidth(shownHeading, titleScale)) / 2, margin, shownHeading,
         kInkTitle, titleScale);

  // Value axis: gridlines at round values, labelled at the left.
  const int top = margin + Raster::textHeight(titleScale) + 4;
  const int bottom = size.height - margin - th - 3;
  const int plotHeight = std::max(bottom - top, 1);
  std::vector<std::pair<double, std::string>> ticks;
  if (direction) {
    s.low = 0;
    s.high = 360;
    const char* points[] = {"N", "E", "S", "O", "N"};
    for (int k = 0; k < 5; ++k) ticks.emplace_back(90.0 * k, points[k]);
  } else if (!s.points.empty()) {
    const double step = niceStep(s.low, s.high, std::max(2, std::min(6, plotHeight / (2 * th))));
    s.low = std::floor(s.low / step + 1e-9) * step;
    s.high = std::ceil(s.high / step - 1e-9) * step;
    if (s.high <= s.low) s.high = s.low + step;
    const int d = decimalsFor(step);
    for (double v = s.low; v <= s.high + step / 2; v += step) {
      ticks.emplace_back(v, quantities::fixedText(std::fabs(v) < step / 1000 ? 0.0 : v, d));
    }
  }
  int labelWidth = 0;
  for (const auto& t : ticks) labelWidth = std::max(labelWidth, Raster::textWidth(t.second));
  Plot p{margin + labelWidth + 4, top, size.width - margin - 2, bottom,
         s.low, s.high, bars ? static_cast<double>(kHistoryDays) : kHistoryMinutes};
  if (p.high <= p.low) p.high = p.low + 1;

  for (const auto& [v, label] : ticks) {
    const int y = p.yAt(v);
    r.line(p.left, y, p.right, y, kInkGrid);
    r.text(p.left - 3 - Raster::textWidth(label), y - th / 2 + 1, label, kInkText);
  }

  // Time axis: every 6 hours for a day of records, a week apart for the days.
  const int labelY = bottom + 3;
  if (bars) {
    for (int i = 0; i < kHistoryDays; i += 7) {
      const int x = p.xAt(i + 0.5);
      r.line(x, p.bottom, x, p.bottom + 2, kInkAxis);
      const std::string label = dayLabel(data.days[static_cast<std::size_t>(i)].date, ctx.intl);
      const int w = Raster::textWidth(label);
      r.text(std::clamp(x - w / 2, 1, size.width - w - 1), labelY, label, kInkText);
    }
  } else {
    const std::int64_t start = data.endMinute - kHistoryMinutes;
    const std::int64_t firstMark = (start / 360 + 1) * 360;
    for (std::int64_t m = firstMark; m <= data.endMinute; m += 360) {
      const int x = p.xAt(static_cast<double>(m - start));
      r.line(x, p.top, x, p.bottom, kInkGrid);
      r.line(x, p.bottom, x, p.bottom + 2, kInkAxis);
      const std::string label = hourLabel(static_cast<int>((m % 1440) / 60), ctx.intl);
      const int w = Raster::textWidth(label);
      r.text(std::clamp(x - w / 2, 1, size.width - w - 1), labelY, label, kInkText);
    }
  }
  r.line(p.left, p.top, p.left, p.bottom, kInkAxis);
  r.line(p.left, p.bottom, p.right, p.bottom, kInkAxis);

  if (s.points.empty()) {
    const int scale = big ? 3 : 2;
    const std::string none(quantities::kDash3);
    r.text((p.left + p.right - Raster::textWidth(none, scale)) / 2,
           (p.top + p.bottom - Raster::textHeight(scale)) / 2, none, kInkMissing, scale);
    return r;
  }

  const int thick = size.height >= 200 ? 2 : 1;
  if (bars) {
    const int slot = std::max((p.right - p.left) / kHistoryDays, 2);
    const int zero = p.yAt(std::clamp(0.0, p.low, p.high));
    for (const Point& pt : s.points) {
      const int x = p.xAt(pt.x) + 1;
      const int y = p.yAt(pt.y);
      r.rectangle(x, std::min(y, zero), slot - 1, std::max(std::abs(zero - y), 1), kInkBar, true);
      r.line(x, y, x + slot - 2, y, kInkData);
    }
    return r;
  }
  for (std::size_t i = 0; i < s.points.size(); ++i) {
    const Point& pt = s.points[i];
    const int x = p.xAt(pt.x), y = p.yAt(pt.y);
    if (direction) {
      r.rectangle(x - thick / 2, y - thick / 2, thick + 1, thick + 1, kInkData, true);
    } else if (pt.joined && i > 0) {
      r.line(p.xAt(s.points[i - 1].x), p.yAt(s.points[i - 1].y), x, y, kInkData, thick);
    } else {
      r.rectangle(x, y, thick, thick, kInkData, true);
    }
  }
  return r;
}

}  // namespace publish
