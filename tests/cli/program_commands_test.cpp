#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "frame/program_settings.h"
#include "station/station_file.h"

namespace cli {
namespace {

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("stratalog-cmd-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "Casa");
    station::StationConfig c;
    c.setStationName("Casa");
    c.setStationDir((dir / "Casa").string());
    ASSERT_TRUE(
        station::writeStationRecord(platform::defaultFileSystem(), c, (dir / "Casa").string())
            .isOk());
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  int run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    CommandContext ctx;
    ctx.out = &out;
    ctx.err = &err;
    return runCommandLine(args, ctx);
  }

  std::filesystem::path dir;
  std::ostringstream out, err;
};

TEST_F(CommandsTest, ScheduleSetStoresListHoursAndMinute) {
  std::string pd = dir.string();
  ASSERT_EQ(run({"schedule", "set", "--program-dir", pd, "--hours", "7,18-19", "--minute", "10",
                 "--station", "Casa"}),
            kExitOk)
      << err.str();
  std::string casa = (dir / "Casa").string();
  auto list = platform::defaultFileSystem().readFile((dir / "download.lst").string());
  ASSERT_TRUE(list.isOk());
  EXPECT_EQ(*list, casa + "\n");
  auto settings =
      frame::readProgramSettings(platform::defaultFileSystem(), (dir / "progdata.dat").string());
  ASSERT_TRUE(settings.isOk());
  EXPECT_TRUE(settings->autoDownloadEnabled());
  EXPECT_TRUE(settings->downloadInHour(7));
  EXPECT_FALSE(settings->downloadInHour(8));
  EXPECT_TRUE(settings->downloadInHour(19));
  EXPECT_EQ(settings->downloadMinute(), 10);
  EXPECT_EQ(settings->lastDownloadHour(), -1);

  ASSERT_EQ(run({"stations", "list", "--program-dir", pd}), kExitOk);
  EXPECT_EQ(out.str(), "Casa\t" + casa + "\tdescarga automática\n");
}

TEST_F(CommandsTest, ScheduleSetRefusesBadInput) {
  std::string pd = dir.string();
  EXPECT_EQ(run({"schedule", "set", "--program-dir", pd, "--minute", "60", "--station", "Casa"}),
            kExitUsage);
  EXPECT_NE(err.str().find("El tiempo de compensación debe estar entre 0 y 59 min."),
            std::string::npos);
  EXPECT_EQ(run({"schedule", "set", "--program-dir", pd, "--hours", "7"}), kExitFailed);
  EXPECT_NE(err.str().find("Primero debe seleccionar las estaciones a descargar."),
            std::string::npos);
  // A station no one has is a usage error, and the stations there are are listed.
  EXPECT_EQ(run({"schedule", "set", "--program-dir", pd, "--hours", "7", "--station", "Nowhere"}),
            kExitUsage);
  EXPECT_NE(err.str().find("No hay ninguna estación 'Nowhere'."), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("\n  Casa  ("), std::string::npos) << err.str();
  EXPECT_FALSE(std::filesystem::exists(dir / "download.lst"));
}

TEST_F(CommandsTest, AStationNameNeedsASwitch) {
  EXPECT_EQ(run({"Casa"}), kExitUsage);
  EXPECT_NE(err.str().find("'Casa' no es un comando de 'stratalog' (una estación se indica con -o, -d o -c)."),
            std::string::npos);
}

// A console password is set on a station named like any other; a name no station has is
// refused before anything is asked.
TEST_F(CommandsTest, StationsPasswordRefusesAnUnknownStation) {
  EXPECT_EQ(run({"stations", "password", "set", "--program-dir", dir.string(), "--station", "Sur"}),
            kExitUsage);
  EXPECT_NE(err.str().find("No hay ninguna estación 'Sur'."), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("\n  Casa  ("), std::string::npos) << err.str();
}

}  // namespace
}  // namespace cli
