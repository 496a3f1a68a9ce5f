#include "publish/image_style.h"

namespace publish {

namespace {

constexpr PictureSize kCurrentSizes[kImageSizeCount] = {{100, 100}, {150, 150}, {200, 200}, {300, 60}};
constexpr PictureSize kHistorySizes[kImageSizeCount] = {{200, 120}, {320, 200}, {480, 300}, {600, 120}};

int sizeIndex(int code) { return code >= 0 && code < kImageSizeCount ? code : 1; }

struct Rgb {
  std::uint8_t r, g, b;
};

constexpr Rgb kInks[kPaletteSize] = {
    {0xFF, 0xFF, 0xFF},  // background
    {0x00, 0x00, 0x00},  // text
    {0xDD, 0xDD, 0xDD},  // grid
    {0x55, 0x55, 0x55},  // axis
    {0x1F, 0x4E, 0xC8},  // data line
    {0x5A, 0x9A, 0xE6},  // bars
    {0xF4, 0xF1, 0xE4},  // gauge face
    {0x80, 0x80, 0x80},  // gauge scale
    {0xC8, 0x1E, 0x1E},  // needle
    {0x1A, 0x2A, 0x6C},  // title
    {0x9A, 0x9A, 0x9A},  // missing value
    {0x2E, 0x7D, 0x32},  // compass letters
    {0xFF, 0xFF, 0xFF},  {0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF},
};

constexpr Ink kLineInks[] = {kInkAxis, kInkData, kInkScale, kInkNeedle};

std::uint8_t webSafe(std::uint8_t v) {
  return static_cast<std::uint8_t>(((v + 25) / 51) * 51);
}

}  // namespace

PictureSize currentPictureSize(int sizeCode) { return kCurrentSizes[sizeIndex(sizeCode)]; }
PictureSize historyPictureSize(int sizeCode) { return kHistorySizes[sizeIndex(sizeCode)]; }

ImagePalette imagePalette(std::uint8_t options) {
  Rgb inks[kPaletteSize];
  for (int i = 0; i < kPaletteSize; ++i) inks[i] = kInks[i];
  if (options & kOptionBlackLines) {
    for (Ink ink : kLineInks) inks[ink] = {0, 0, 0};
  }
  ImagePalette p;
  for (int i = 0; i < kPaletteSize; ++i) {
    const bool safe = (options & kOptionSafeColours) != 0;
    p.red[i] = safe ? webSafe(inks[i].r) : inks[i].r;
    p.green[i] = safe ? webSafe(inks[i].g) : inks[i].g;
    p.blue[i] = safe ? webSafe(inks[i].b) : inks[i].b;
  }
  return p;
}

}  // namespace publish
