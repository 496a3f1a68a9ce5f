#pragma once

// How a profile's pictures look: their size, and the 16 colours they are drawn with.

#include <array>
#include <cstdint>

namespace publish {

// The size choices of a profile ("Pequeño", "Med.", "Grande", "Franja").
enum class ImageSize : std::uint8_t { kSmall = 0, kMedium = 1, kLarge = 2, kStrip = 3 };
inline constexpr int kImageSizeCount = 4;

// Option bits of a profile.
inline constexpr std::uint8_t kOptionBlackLines = 0x01;
inline constexpr std::uint8_t kOptionSafeColours = 0x02;

struct PictureSize {
  int width;
  int height;
};

// Pixels of a current-data picture and of a history picture at each size; a size code
// outside 0 to 3 is taken as "Med.".
PictureSize currentPictureSize(int sizeCode);
PictureSize historyPictureSize(int sizeCode);

// Colour roles: the index each kind of ink has in the palette.
enum Ink : std::uint8_t {
  kInkBackground = 0,
  kInkText = 1,
  kInkGrid = 2,
  kInkAxis = 3,
  kInkData = 4,
  kInkBar = 5,
  kInkFace = 6,
  kInkScale = 7,
  kInkNeedle = 8,
  kInkTitle = 9,
  kInkMissing = 10,
  kInkCompass = 11,
};

inline constexpr int kPaletteBits = 4;
inline constexpr int kPaletteSize = 1 << kPaletteBits;

struct ImagePalette {
  std::array<std::uint8_t, kPaletteSize> red{}, green{}, blue{};
};

// The palette for a profile's options: with black lines every ink that draws a line
// (axes, data, scale, needle) is black; with safe colours every entry is one of the 216
// web-safe colours (each component a multiple of 0x33).
ImagePalette imagePalette(std::uint8_t options);

}  // namespace publish
