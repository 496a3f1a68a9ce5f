#include "publish/gif_writer.h"

#include <algorithm>

#include "publish/gif_lzw.h"

namespace publish {

namespace {

constexpr int kMaxSide = 65535;
constexpr std::size_t kMaxSubBlock = 255;

void putU16(std::vector<std::uint8_t>& out, int v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

// The rows in the order the file stores them: the four passes of an interlaced image
// (every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1), else top
// to bottom.
std::vector<int> rowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  constexpr int kStart[] = {0, 4, 2, 1};
  constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
  }
  return rows;
}

}  // namespace

bool gifArgumentsValid(const GifImage& image) {
  if (image.bits < 1 || image.bits > 8) return false;
  if (image.width < 1 || image.width > kMaxSide || image.height < 1 || image.height > kMaxSide)
    return false;
  const std::size_t colours = std::size_t{1} << image.bits;
  if (image.red.size() < colours || image.green.size() < colours || image.blue.size() < colours)
    return false;
  if (image.background < 0 || static_cast<std::size_t>(image.background) >= colours) return false;
  if (image.transparent != kGifNoTransparency &&
      (image.transparent < 0 || static_cast<std::size_t>(image.transparent) >= colours))
    return false;
  return image.pixels.size() ==
         static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

std::optional<std::vector<std::uint8_t>> encodeGif(const GifImage& image) {
  if (!gifArgumentsValid(image)) return std::nullopt;
  const int b = image.bits;
  const std::size_t colours = std::size_t{1} << b;
  const bool transparent = image.transparent != kGifNoTransparency;

  std::vector<std::uint8_t> indices;
  indices.reserve(image.pixels.size());
  const auto mask = static_cast<std::uint8_t>(colours - 1);
  const auto width = static_cast<std::size_t>(image.width);
  for (int y : rowOrder(image.height, image.interlaced)) {
    const std::uint8_t* row = image.pixels.data() + static_cast<std::size_t>(y) * width;
    for (std::size_t x = 0; x < width; ++x) indices.push_back(row[x] & mask);
  }
  const int minCodeSize = std::max(2, b);
  const std::vector<std::uint8_t> codes = lzwCompress(minCodeSize, indices);

  std::vector<std::uint8_t> out;
  out.reserve(codes.size() + codes.size() / kMaxSubBlock + 64 + 3 * colours);
  const char* signature = transparent ? "GIF89a" : "GIF87a";
  out.insert(out.end(), signature, signature + 6);
  putU16(out, image.width);
  putU16(out, image.height);
  out.push_back(static_cast<std::uint8_t>(0x80 + (b - 1) * 16 + (b - 1)));
  out.push_back(static_cast<std::uint8_t>(image.background));
  out.push_back(0);
  for (std::size_t i = 0; i < colours; ++i) {
    out.push_back(image.red[i]);
    out.push_back(image.green[i]);
    out.push_back(image.blue[i]);
  }
  if (transparent) {
    const std::uint8_t control[] = {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00,
                                    static_cast<std::uint8_t>(image.transparent), 0x00};
    out.insert(out.end(), std::begin(control), std::end(control));
  }
  out.push_back(0x2C);
  putU16(out, 0);
  putU16(out, 0);
  putU16(out, image.width);
  putU16(out, image.height);
  out.push_back(image.interlaced ? 0x40 : 0x00);
  out.push_back(static_cast<std::uint8_t>(minCodeSize));
  for (std::size_t at = 0; at < codes.size(); at += kMaxSubBlock) {
    const std::size_t n = std::min(kMaxSubBlock, codes.size() - at);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), codes.begin() + static_cast<std::ptrdiff_t>(at),
               codes.begin() + static_cast<std::ptrdiff_t>(at + n));
  }
  out.push_back(0x00);
  out.push_back(0x3B);
  return out;
}

int writeGif(platform::FileSystem& files, const std::string& path, const GifImage& image) {
  const auto bytes = encodeGif(image);
  if (!bytes) return kGifWriteFailed;
  // Pictures are drawn anew at every run, so a sync per file would buy nothing: the
  // rename alone keeps a reader (the upload, a web server) from seeing half a file.
  const std::string temp = path + ".tmp";
  auto file = files.open(temp, platform::OpenMode::kTruncate);
  if (!file) return kGifWriteFailed;
  platform::Status s = (*file)->writeAt(0, std::as_bytes(std::span(*bytes)));
  file->reset();
  if (s) s = files.rename(temp, path);
  if (!s) {
    (void)files.removeFile(temp);
    return kGifWriteFailed;
  }
  return 0;
}

}  // namespace publish
