// stratalog images list / draw and stratalog profile images, run as a person would.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "command_run.h"

namespace cli {
namespace {

namespace fs = std::filesystem;
using clitest::run;

constexpr std::size_t kProfile1 = 676;

std::string readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::uint64_t le(const std::string& b, std::size_t at, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

class ImagesCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = clitest::scratchDirectory("images");
    ASSERT_EQ(run({"station", "create", "--name", "Norte", "--parent", dir_.string(),
                   "--program-dir", dir_.string()})
                  .exitCode,
              0);
    // No console there: reading the current conditions fails at once.
    ASSERT_EQ(run(at({"station", "set", "--port", "/dev/stratalog-no-console"})).exitCode, 0);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<std::string> at(std::vector<std::string> args) const {
    args.insert(args.end(), {"--program-dir", dir_.string(), "--station", "Norte"});
    return args;
  }
  fs::path station() const { return dir_ / "Norte"; }
  std::string config() const { return readAll(station() / "Inet-Configuration.cfg"); }

  fs::path dir_;
};

TEST_F(ImagesCommand, ListNamesEveryImageAndWhetherTheSensorsAllowIt) {
  const auto r = run(at({"images", "list"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 91);
  // A new station is a Cirrant Pro: outside temperature, no solar sensor.
  auto listed = [&r](const std::string& line) {
    return std::regex_search(r.out, std::regex("(^|\n)" + line + "\n"));
  };
  EXPECT_TRUE(listed("OutsideTemp\\.gif +actual\tsí")) << r.out;
  EXPECT_TRUE(listed("SolarRad\\.gif +actual\tno"));
  EXPECT_TRUE(listed("OutsideTempHistory\\.gif +histórica\tsí"));
  EXPECT_TRUE(listed("UVDoseHistory\\.gif +histórica\tno"));
}

TEST_F(ImagesCommand, ProfileImagesStoresMasksSizeOptionsAndCounts) {
  const auto r = run(at({"profile", "images", "1", "--add", "OutsideTemp.gif", "--add",
                         "outsidetemphistory.gif", "--add", "RainHistory.gif", "--size", "MED.",
                         "--black-lines", "on"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string b = config();
  ASSERT_EQ(b.size(), 6144u);
  EXPECT_EQ(le(b, kProfile1 + 344, 8), 0x2u);
  EXPECT_EQ(le(b, kProfile1 + 352, 8), 0x1002u);
  EXPECT_EQ(le(b, kProfile1 + 360, 1), 1u);
  EXPECT_EQ(le(b, kProfile1 + 361, 1), 1u);
  EXPECT_EQ(le(b, kProfile1 + 320, 2), 1u);
  EXPECT_EQ(le(b, kProfile1 + 322, 2), 2u);
  EXPECT_NE(r.out.find("OutsideTempHistory.gif RainHistory.gif"), std::string::npos) << r.out;

  ASSERT_EQ(run(at({"profile", "images", "1", "--remove", "RainHistory.gif", "--safe-colours", "on"}))
                .exitCode,
            0);
  const std::string after = config();
  EXPECT_EQ(le(after, kProfile1 + 352, 8), 0x2u);
  EXPECT_EQ(le(after, kProfile1 + 322, 2), 1u);
  EXPECT_EQ(le(after, kProfile1 + 361, 1), 3u);
}

TEST_F(ImagesCommand, UnknownNameOrSizeListsTheValidOnesAndChangesNothing) {
  ASSERT_EQ(run(at({"profile", "images", "1", "--add", "Barometer.gif"})).exitCode, 0);
  const std::string before = config();
  struct Bad {
    std::vector<std::string> args;
    std::string listed;
  };
  const Bad kBad[] = {
      {{"--add", "OutsideTemp.gif", "--add", "Nube.gif"}, "InsideTemp.gif, OutsideTemp.gif,"},
      {{"--remove", "Barometer.png"}, "THSWHistory.gif"},
      {{"--add", "OutsideTemp.gif", "--size", "enorme"}, "pequeño, med, grande, franja"},
      {{"--black-lines", "sí"}, "on u off"},
  };
  for (const Bad& bad : kBad) {
    std::vector<std::string> args{"profile", "images", "1"};
    args.insert(args.end(), bad.args.begin(), bad.args.end());
    const auto r = run(at(args));
    EXPECT_EQ(r.exitCode, 2) << bad.args.back();
    EXPECT_NE(r.err.find(bad.listed), std::string::npos) << r.err;
    EXPECT_EQ(config(), before) << bad.args.back();
  }
  EXPECT_EQ(run(at({"profile", "images", "9", "--add", "OutsideTemp.gif"})).exitCode, 2);
  EXPECT_EQ(config(), before);
}

TEST_F(ImagesCommand, DrawWritesTheProfilesPicturesWithoutAConsole) {
  ASSERT_EQ(run(at({"profile", "images", "2", "--add", "OutsideTemp.gif", "--add",
                    "OutsideTempHistory.gif", "--add", "SolarRad.gif", "--size", "grande"}))
                .exitCode,
            0);
  const auto r = run(at({"images", "draw", "2"}));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  // The station has no solar sensor: its message, and no file.
  EXPECT_NE(r.err.find("Error al crear imagen de Radiación Solar. Comprobar Sensores."),
            std::string::npos)
      << r.err;
  const fs::path images = station() / "Images" / "Profile2";
  EXPECT_FALSE(fs::exists(images / "SolarRad.gif"));
  const std::string current = readAll(images / "OutsideTemp.gif");
  const std::string history = readAll(images / "OutsideTempHistory.gif");
  EXPECT_EQ(current.substr(0, 10), std::string("GIF87a\xC8\x00\xC8\x00", 10));
  EXPECT_EQ(history.substr(0, 10), std::string("GIF87a\xE0\x01\x2C\x01", 10));
  EXPECT_NE(r.out.find("Escrita: " + (images / "OutsideTemp.gif").string()), std::string::npos);

  const fs::path elsewhere = dir_ / "ver";
  ASSERT_EQ(run(at({"images", "draw", "2", "--to", elsewhere.string()})).exitCode, 0);
  EXPECT_TRUE(fs::exists(elsewhere / "OutsideTempHistory.gif"));
}

}  // namespace
}  // namespace cli
