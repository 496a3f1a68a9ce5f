#pragma once

// The program's own GIF encoder for the web images: one image, a global colour table of
// 2^b entries, optional transparency and interlacing, LZW data in sub-blocks.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace publish {

inline constexpr int kGifNoTransparency = -1;
inline constexpr int kGifWriteFailed = -1;

struct GifImage {
  int width = 0;   // 1 to 65535
  int height = 0;  // 1 to 65535
  bool interlaced = false;
  int background = 0;                      // below 2^bits
  int transparent = kGifNoTransparency;    // below 2^bits, or -1 for none
  int bits = 1;                            // bits per pixel, 1 to 8
  std::span<const std::uint8_t> red;       // at least 2^bits entries each
  std::span<const std::uint8_t> green;
  std::span<const std::uint8_t> blue;
  std::span<const std::uint8_t> pixels;    // width × height colour indices, row by row
};

// Whether the writer takes these arguments (see GifImage for the ranges; the pixel source
// must hold exactly width × height indices).
bool gifArgumentsValid(const GifImage& image);

// The file's bytes; empty when the arguments are refused. Every pixel is masked to the
// image's bits, so a stray index can never point past the colour table.
std::optional<std::vector<std::uint8_t>> encodeGif(const GifImage& image);

// Writes the file through a temporary file in the same directory renamed over `path`, so
// a reader never sees half a picture. 0, or -1 when the arguments are refused (no file is
// written) or the file cannot be written (the temporary file is removed).
int writeGif(platform::FileSystem& files, const std::string& path, const GifImage& image);

}  // namespace publish
