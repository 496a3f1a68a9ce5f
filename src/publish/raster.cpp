#include "publish/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "publish/bitmap_font.h"

namespace publish {

namespace {

constexpr double kPi = 3.14159265358979323846;

double radians(double compassDeg) { return compassDeg * kPi / 180.0; }

}  // namespace

Raster::Raster(int width, int height, std::uint8_t background)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      background_(background),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), background) {}

std::uint8_t Raster::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return background_;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

void Raster::fill(std::uint8_t colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

void Raster::set(int x, int y, std::uint8_t colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = colour;
}

void Raster::dot(int x, int y, std::uint8_t colour, int thickness) {
  if (thickness <= 1) {
    set(x, y, colour);
    return;
  }
  const int lo = -(thickness - 1) / 2;
  for (int dy = lo; dy < lo + thickness; ++dy)
    for (int dx = lo; dx < lo + thickness; ++dx) set(x + dx, y + dy, colour);
}

void Raster::line(int x0, int y0, int x1, int y1, std::uint8_t colour, int thickness) {
  // Bresenham, so a line between the same two points is always the same pixels.
  const int dx = std::abs(x1 - x0);
  const int dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1;
  const int sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  // A line far outside the canvas is clipped by set(); the step count stays bounded by
  // the callers, whose coordinates come from the picture's own size.
  for (;;) {
    dot(x0, y0, colour, thickness);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void Raster::rectangle(int x, int y, int w, int h, std::uint8_t colour, bool filled) {
  if (w <= 0 || h <= 0) return;
  if (filled) {
    const int x0 = std::max(x, 0), x1 = std::min(x + w, width_);
    const int y0 = std::max(y, 0), y1 = std::min(y + h, height_);
    for (int yy = y0; yy < y1; ++yy)
      for (int xx = x0; xx < x1; ++xx)
        pixels_[static_cast<std::size_t>(yy) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(xx)] = colour;
    return;
  }
  line(x, y, x + w - 1, y, colour);
  line(x, y + h - 1, x + w - 1, y + h - 1, colour);
  line(x, y, x, y + h - 1, colour);
  line(x + w - 1, y, x + w - 1, y + h - 1, colour);
}

void Raster::disc(int cx, int cy, int radius, std::uint8_t colour) {
  for (int dy = -radius; dy <= radius; ++dy) {
    const int half = static_cast<int>(std::sqrt(static_cast<double>(radius * radius - dy * dy)));
    for (int dx = -half; dx <= half; ++dx) set(cx + dx, cy + dy, colour);
  }
}

void Raster::arc(int cx, int cy, int radius, double fromDeg, double toDeg, std::uint8_t colour,
                 int thickness) {
  if (radius <= 0) return;
  double span = toDeg - fromDeg;
  while (span < 0) span += 360.0;
  if (span > 360.0) span = 360.0;
  // About one step per pixel of the circumference.
  const int steps = std::max(8, static_cast<int>(span / 360.0 * 2.0 * kPi * radius * 1.5));
  for (int i = 0; i <= steps; ++i) {
    const double a = radians(fromDeg + span * i / steps);
    dot(cx + static_cast<int>(std::lround(radius * std::sin(a))),
        cy - static_cast<int>(std::lround(radius * std::cos(a))), colour, thickness);
  }
}

void Raster::needle(int cx, int cy, int length, double angleDeg, std::uint8_t colour,
                    int baseWidth) {
  const double a = radians(angleDeg);
  const double half = std::max(baseWidth, 1) / 2.0;
  // A triangle: the tip, and the two ends of a base across the needle at the centre.
  const double px[3] = {cx + length * std::sin(a), cx + half * std::cos(a), cx - half * std::cos(a)};
  const double py[3] = {cy - length * std::cos(a), cy + half * std::sin(a), cy - half * std::sin(a)};
  const int x0 = static_cast<int>(std::floor(std::min({px[0], px[1], px[2]})));
  const int x1 = static_cast<int>(std::ceil(std::max({px[0], px[1], px[2]})));
  const int y0 = static_cast<int>(std::floor(std::min({py[0], py[1], py[2]})));
  const int y1 = static_cast<int>(std::ceil(std::max({py[0], py[1], py[2]})));
  auto side = [&](int i, int j, double x, double y) {
    return (px[j] - px[i]) * (y - py[i]) - (py[j] - py[i]) * (x - px[i]);
  };
  for (int y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y) {
    for (int x = std::max(x0, 0); x <= std::min(x1, width_ - 1); ++x) {
      const double d0 = side(0, 1, x, y), d1 = side(1, 2, x, y), d2 = side(2, 0, x, y);
      const bool neg = d0 < -0.5 || d1 < -0.5 || d2 < -0.5;
      const bool pos = d0 > 0.5 || d1 > 0.5 || d2 > 0.5;
      if (!(neg && pos)) set(x, y, colour);
    }
  }
  line(cx, cy, static_cast<int>(std::lround(px[0])), static_cast<int>(std::lround(py[0])), colour);
}

void Raster::text(int x, int y, std::string_view utf8, std::uint8_t colour, int scale) {
  scale = std::max(scale, 1);
  int penX = x;
  for (char32_t c : decodeUtf8(utf8)) {
    const Glyph& g = glyphFor(c);
    for (int col = 0; col < kGlyphWidth; ++col) {
      for (int row = 0; row < kGlyphHeight; ++row) {
        if ((g[static_cast<std::size_t>(col)] >> row) & 1) {
          rectangle(penX + col * scale, y + row * scale, scale, scale, colour, true);
        }
      }
    }
    penX += kCellWidth * scale;
  }
}

int Raster::textWidth(std::string_view utf8, int scale) {
  const int n = static_cast<int>(decodeUtf8(utf8).size());
  return n == 0 ? 0 : (n * kCellWidth - 1) * std::max(scale, 1);
}

int Raster::textHeight(int scale) { return kGlyphHeight * std::max(scale, 1); }

std::vector<std::string> Raster::wrapText(std::string_view utf8, int maxWidth, int scale) {
  std::vector<std::string> lines;
  std::string current;
  std::size_t at = 0;
  while (at < utf8.size()) {
    std::size_t end = utf8.find(' ', at);
    if (end == std::string_view::npos) end = utf8.size();
    const std::string word(utf8.substr(at, end - at));
    at = end + 1;
    if (word.empty()) continue;
    const std::string joined = current.empty() ? word : current + " " + word;
    if (current.empty() || textWidth(joined, scale) <= maxWidth) {
      current = joined;
    } else {
      lines.push_back(current);
      current = word;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

}  // namespace publish
