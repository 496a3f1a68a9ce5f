#pragma once

// An 8-bit indexed canvas for the web images. Drawing is clipped to the canvas, so a
// shape partly outside it draws what is inside and never writes past the pixels. Angles
// are compass degrees: 0 up, growing clockwise.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace publish {

class Raster {
 public:
  Raster(int width, int height, std::uint8_t background);

  int width() const { return width_; }
  int height() const { return height_; }
  // Row by row, width × height indices.
  const std::vector<std::uint8_t>& pixels() const { return pixels_; }
  // The index at (x, y); the background outside the canvas.
  std::uint8_t at(int x, int y) const;

  void fill(std::uint8_t colour);
  void set(int x, int y, std::uint8_t colour);
  void line(int x0, int y0, int x1, int y1, std::uint8_t colour, int thickness = 1);
  void rectangle(int x, int y, int w, int h, std::uint8_t colour, bool filled);
  // A filled circle.
  void disc(int cx, int cy, int radius, std::uint8_t colour);
  // The part of the circle from `fromDeg` clockwise to `toDeg`.
  void arc(int cx, int cy, int radius, double fromDeg, double toDeg, std::uint8_t colour,
           int thickness = 1);
  // A filled pointer from the centre to `length` pixels away at `angleDeg`, `baseWidth`
  // pixels wide at the centre.
  void needle(int cx, int cy, int length, double angleDeg, std::uint8_t colour, int baseWidth);
  // UTF-8 text with its top-left corner at (x, y), each font pixel drawn scale × scale.
  void text(int x, int y, std::string_view utf8, std::uint8_t colour, int scale = 1);

  static int textWidth(std::string_view utf8, int scale = 1);
  static int textHeight(int scale = 1);
  // The text broken at blanks into lines at most `maxWidth` pixels wide (a word wider than
  // that stands on a line of its own).
  static std::vector<std::string> wrapText(std::string_view utf8, int maxWidth, int scale = 1);

 private:
  void dot(int x, int y, std::uint8_t colour, int thickness);

  int width_;
  int height_;
  std::uint8_t background_;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace publish
