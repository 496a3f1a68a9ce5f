#include "publish/gif_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/mem_file_system.h"

namespace publish {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Palette {
  std::array<std::uint8_t, 256> r{}, g{}, b{};
};

// Every index its own colour, so a decoded colour names the index it came from.
Palette distinctPalette() {
  Palette p;
  for (int i = 0; i < 256; ++i) {
    p.r[i] = static_cast<std::uint8_t>(i);
    p.g[i] = static_cast<std::uint8_t>(255 - i);
    p.b[i] = static_cast<std::uint8_t>((i * 37) & 0xFF);
  }
  return p;
}

GifImage imageOf(const Palette& p, int w, int h, int bits, const Bytes& pixels) {
  GifImage g;
  g.width = w;
  g.height = h;
  g.bits = bits;
  g.red = p.r;
  g.green = p.g;
  g.blue = p.b;
  g.pixels = pixels;
  return g;
}

Bytes slice(const Bytes& v, std::size_t from, std::size_t n) {
  return Bytes(v.begin() + static_cast<std::ptrdiff_t>(from),
               v.begin() + static_cast<std::ptrdiff_t>(from + n));
}

TEST(GifWriter, OnePixelOneBitFileIsByteExact) {
  Palette p;
  p.r[1] = p.g[1] = p.b[1] = 0xFF;
  const Bytes pixels{1};
  const auto gif = encodeGif(imageOf(p, 1, 1, 1, pixels));
  ASSERT_TRUE(gif);
  const Bytes& f = *gif;
  ASSERT_GT(f.size(), 30u);
  EXPECT_EQ(slice(f, 0, 13), (Bytes{0x47, 0x49, 0x46, 0x38, 0x37, 0x61, 0x01, 0x00, 0x01, 0x00,
                                    0x80, 0x00, 0x00}));
  EXPECT_EQ(slice(f, 13, 6), (Bytes{0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(slice(f, 19, 10), (Bytes{0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00}));
  EXPECT_EQ(f[29], 0x02);  // initial code size: never below 2
  // Clear (4), the pixel (1) and the end code (5), three bits each, least significant first.
  EXPECT_EQ(slice(f, 30, 3), (Bytes{0x02, 0x4C, 0x01}));
  EXPECT_EQ(slice(f, 33, 2), (Bytes{0x00, 0x3B}));
  EXPECT_EQ(f.size(), 35u);
}

TEST(GifWriter, TransparentColourGivesControlExtension) {
  const Palette p = distinctPalette();
  const Bytes pixels(4, 3);
  GifImage g = imageOf(p, 2, 2, 4, pixels);
  g.transparent = 3;
  const auto gif = encodeGif(g);
  ASSERT_TRUE(gif);
  const Bytes& f = *gif;
  EXPECT_EQ(std::string(f.begin(), f.begin() + 6), "GIF89a");
  EXPECT_EQ(f[10], 0xB3);
  const std::size_t afterTable = 13 + 3 * 16;
  EXPECT_EQ(slice(f, afterTable, 8), (Bytes{0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x03, 0x00}));
  EXPECT_EQ(f[afterTable + 8], 0x2C);
}

struct Rejected {
  const char* name;
  int width, height, bits, background, transparent, tableSize;
  std::size_t pixelCount;
};

constexpr Rejected kRejected[] = {
    {"bits 0", 2, 2, 0, 0, -1, 256, 4},
    {"bits 9", 2, 2, 9, 0, -1, 256, 4},
    {"width 0", 0, 2, 4, 0, -1, 256, 0},
    {"height 65536", 1, 65536, 1, 0, -1, 256, 65536},
    {"table shorter than 2^b", 2, 2, 4, 0, -1, 15, 4},
    {"background past the table", 2, 2, 2, 4, -1, 256, 4},
    {"transparent past the table", 2, 2, 2, 0, 4, 256, 4},
    {"transparent -2", 2, 2, 2, 0, -2, 256, 4},
    {"pixels short of width x height", 2, 2, 2, 0, -1, 256, 3},
};

TEST(GifWriter, RefusedArgumentsAnswerMinusOneAndWriteNoFile) {
  platform::MemFileSystem files;
  ASSERT_TRUE(files.createDirectories("/img"));
  const Palette p = distinctPalette();
  for (const Rejected& c : kRejected) {
    SCOPED_TRACE(c.name);
    const Bytes pixels(c.pixelCount, 0);
    GifImage g = imageOf(p, c.width, c.height, c.bits, pixels);
    g.background = c.background;
    g.transparent = c.transparent;
    g.red = std::span(p.r).first(static_cast<std::size_t>(c.tableSize));
    EXPECT_EQ(writeGif(files, "/img/x.gif", g), -1);
    EXPECT_FALSE(files.exists("/img/x.gif"));
    EXPECT_FALSE(files.exists("/img/x.gif.tmp"));
  }
}

TEST(GifWriter, PixelsAreMaskedToTheBits) {
  const Palette p = distinctPalette();
  const Bytes wild{0xFF, 0x02, 0x07, 0x10};
  const Bytes tame{0x03, 0x02, 0x03, 0x00};
  EXPECT_EQ(encodeGif(imageOf(p, 2, 2, 2, wild)), encodeGif(imageOf(p, 2, 2, 2, tame)));
}

// --- Round trip through two independent decoders ----------------------------------------

struct Case {
  std::string name;
  int width, height, bits;
  bool random, interlaced;
  Bytes pixels;
};

std::vector<Case> roundTripCases() {
  std::vector<Case> cases;
  std::mt19937 rng(20);
  constexpr std::array<std::array<int, 2>, 3> kSizes{{{1, 1}, {7, 3}, {300, 200}}};
  for (int bits = 1; bits <= 8; ++bits) {
    for (const auto& size : kSizes) {
      for (bool random : {true, false}) {
        for (bool interlaced : {false, true}) {
          Case c{"b" + std::to_string(bits) + "_" + std::to_string(size[0]) + "x" +
                     std::to_string(size[1]) + (random ? "_random" : "_uniform") +
                     (interlaced ? "_interlaced" : ""),
                 size[0], size[1], bits, random, interlaced, {}};
          const int colours = 1 << bits;
          c.pixels.resize(static_cast<std::size_t>(size[0] * size[1]));
          for (std::size_t i = 0; i < c.pixels.size(); ++i) {
            c.pixels[i] = static_cast<std::uint8_t>(random ? rng() % colours : colours - 1);
          }
          cases.push_back(std::move(c));
        }
      }
    }
  }
  return cases;
}

std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string expectedRgb(const Case& c, const Palette& p) {
  std::string rgb;
  for (std::uint8_t i : c.pixels) {
    rgb.push_back(static_cast<char>(p.r[i]));
    rgb.push_back(static_cast<char>(p.g[i]));
    rgb.push_back(static_cast<char>(p.b[i]));
  }
  return rgb;
}

TEST(GifWriter, EveryPixelSurvivesTwoDecoders) {
  if (!std::filesystem::exists("/usr/bin/python3") || !std::filesystem::exists("/usr/bin/gif2rgb"))
    GTEST_SKIP() << "the decoders are not installed";
  const auto dir = std::filesystem::temp_directory_path() /
                   ("stratalog-gif-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const Palette p = distinctPalette();
  const std::vector<Case> cases = roundTripCases();
  platform::FileSystem& fs = platform::defaultFileSystem();
  for (const Case& c : cases) {
    GifImage g = imageOf(p, c.width, c.height, c.bits, c.pixels);
    g.interlaced = c.interlaced;
    ASSERT_EQ(writeGif(fs, (dir / (c.name + ".gif")).string(), g), 0) << c.name;
  }
  // One interpreter decodes every file: each becomes <name>.pil, its RGB bytes row by row.
  const std::string script =
      "import sys, glob\n"
      "from PIL import Image\n"
      "for f in glob.glob(sys.argv[1] + '/*.gif'):\n"
      "    im = Image.open(f)\n"
      "    im.load()\n"
      "    open(f[:-4] + '.pil', 'wb').write(im.convert('RGB').tobytes())\n";
  std::ofstream(dir / "decode.py") << script;
  ASSERT_EQ(std::system(("/usr/bin/python3 " + (dir / "decode.py").string() + " " + dir.string())
                            .c_str()),
            0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string want = expectedRgb(c, p);
    EXPECT_EQ(readAll(dir / (c.name + ".pil")), want) << "PIL";
    const auto gif = dir / (c.name + ".gif");
    const auto rgb = dir / (c.name + ".rgb");
    ASSERT_EQ(std::system(("/usr/bin/gif2rgb -1 -o " + rgb.string() + " " + gif.string() +
                           " 2>/dev/null")
                              .c_str()),
              0);
    EXPECT_EQ(readAll(rgb), want) << "gif2rgb";
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace publish
