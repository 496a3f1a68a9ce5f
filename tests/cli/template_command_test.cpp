// "stratalog template fill" on the real file system and the in-process console.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "command_run.h"
#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

class TemplateCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = clitest::scratchDirectory("template");
    clock_.setLocal(2006, 3, 15, 15, 0);
    consolesim::EngineOptions o;
    o.historyDays = 0;
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock_, o);
    opener_ = std::make_unique<consolesim::SimSerialPortOpener>(*engine_, clock_);
    ASSERT_EQ(run({"station", "create", "--name", "Cumbre", "--parent", dir_.string(),
                   "--program-dir", dir_.string()})
                  .exitCode,
              0);
  }
  void TearDown() override { fs::remove_all(dir_); }

  clitest::CommandRun run(std::vector<std::string> args) {
    std::ostringstream out, err;
    platform::Env env;
    env.clock = &clock_;
    env.serialPorts = opener_.get();
    CommandContext ctx{env, &out, &err};
    const int code = runCommandLine(args, ctx);
    return {code, out.str(), err.str()};
  }
  clitest::CommandRun fill(std::vector<std::string> paths) {
    std::vector<std::string> args = {"template", "fill"};
    args.insert(args.end(), paths.begin(), paths.end());
    args.insert(args.end(), {"--station", "Cumbre", "--program-dir", dir_.string()});
    return run(args);
  }
  void write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  fs::path dir_;
  platform::FakeClock clock_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<consolesim::SimSerialPortOpener> opener_;
};

// The console reads 58.7 °F, 73 %, 29.697 inHg, 8 mph from 74° and 17 tips today at 15:00.
// By hand: 74° is ENE ((74 + 11.25) / 22.5 = 3.8, index 3); the tips of the 0.01 in
// collector make 0.17 in; 58.7 °F at 73 % has its dew point at 50.1 °F (10.04 °C); with
// nothing stored yet, the reading is today's high, at its own time; the console has no
// solar sensor, and no real-time readings run, so no wind average.
TEST_F(TemplateCommand, FillsThePageBesideTheTemplateFromTheConsole) {
  const fs::path tpl = dir_ / "index.htx";
  write(tpl,
        "<h1><!--StationName--></h1> <!--date--> <!--time-->\n"
        "<!--outsideTemp--><!--tempUnit--> <!--outsideHumidity--><!--humUnit--> "
        "<!--barometer--> <!--windSpeed--> <!--windDir--> <!--windDirection-->\n"
        "<!--dailyRain--> <!--outsideDewPt--> <!--hiOutsideTemp--> <!--hiOutsideTempTime-->\n"
        "<!--solarRad--> <!--windAvg1--> <!-- not a tag -->\n");
  const clitest::CommandRun r = fill({tpl.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "Página escrita: " + (dir_ / "index.htm").string() + "\n");
  EXPECT_EQ(read(dir_ / "index.htm"),
            "<h1>Cumbre</h1> 15-03-06 15:00\n"
            "58.7°F 73% 29.697 8.0 74 ENE\n"
            "0.17 50.1 58.7 15:00\n"
            "--- --- <!-- not a tag -->\n");
  EXPECT_EQ(read(tpl).find("<!--StationName-->"), 4u);
}

TEST_F(TemplateCommand, ATemplateThatWouldBeItsOwnPageOrIsMissingIsRefused) {
  const fs::path page = dir_ / "index.htm";
  write(page, "<!--outsideTemp-->\n");
  const clitest::CommandRun same = fill({page.string()});
  EXPECT_EQ(same.exitCode, 2);
  EXPECT_EQ(same.err, "stratalog template fill: No se pudo abrir archivo html para escritura: " +
                          page.string() + "\n");
  EXPECT_EQ(read(page), "<!--outsideTemp-->\n");

  const clitest::CommandRun missing =
      fill({(dir_ / "none.htx").string(), (dir_ / "out.html").string()});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("No se pudo abrir archivo de plantilla para lectura: " +
                             (dir_ / "none.htx").string()),
            std::string::npos)
      << missing.err;
  EXPECT_FALSE(fs::exists(dir_ / "out.html"));
}

}  // namespace
}  // namespace cli
