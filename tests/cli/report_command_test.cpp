#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "cli/command_run.h"
#include "database/station_generator.h"
#include "database/weather_database.h"
#include "platform/file_system.h"
#include "platform/testing/mem_file_system.h"
#include "station/station_config.h"
#include "station/station_file.h"

namespace {

using clitest::CommandRun;
using clitest::run;

std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ReportCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = clitest::scratchDirectory("report");
    const CommandRun created =
        run({"station", "create", "--name", "Norte", "--parent", dir_.string()});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    station_ = (dir_ / "Norte").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Five-minute records from 20 December 2006 to 15 January 2007.
  void generate() {
    ASSERT_TRUE(
        database::generateStation(platform::defaultFileSystem(), station_, {2006, 12, 20, 27, 5})
            .isOk());
  }
  CommandRun report(std::vector<std::string> args) {
    args.insert(args.begin(), "report");
    args.insert(args.end(), {"--station", station_, "--program-dir", dir_.string()});
    return run(args);
  }

  std::filesystem::path dir_;
  std::string station_;
};

TEST_F(ReportCommand, PreviousIsTheMonthAndYearBeforeTheNewestRecord) {
  generate();
  const CommandRun month = report({"noaa-month", "--previous"});
  ASSERT_EQ(month.exitCode, 0) << month.err;
  EXPECT_EQ(month.out, "Informe escrito: " + station_ + "/NOAAPRMO.TXT\n");
  EXPECT_NE(slurp(station_ + "/NOAAPRMO.TXT").find("MENSUAL para DIC. 2006"), std::string::npos);

  const CommandRun year = report({"noaa-year", "--previous"});
  ASSERT_EQ(year.exitCode, 0) << year.err;
  const std::string text = slurp(station_ + "/NOAAPRYR.TXT");
  EXPECT_NE(text.find("\n 06 11\n 06 12  "), std::string::npos) << text;

  const CommandRun current = report({"noaa-month"});
  ASSERT_EQ(current.exitCode, 0) << current.err;
  EXPECT_NE(slurp(station_ + "/NOAAMO.TXT").find("MENSUAL para ENE. 2007"), std::string::npos);
  const std::string chosen = (dir_ / "julio.txt").string();
  ASSERT_EQ(report({"noaa-year", "--year", "2007", "--output", chosen}).exitCode, 0);
  EXPECT_NE(slurp(chosen).find("\n 07  1  "), std::string::npos);

  EXPECT_EQ(report({"noaa-month", "--list"}).out, "2006-12\n2007-01\n");
  EXPECT_EQ(report({"noaa-year", "--list"}).out, "2006\n2007\n");
}

TEST_F(ReportCommand, BadPeriodsAndAnEmptyDatabaseWriteNothing) {
  const CommandRun empty = report({"noaa-month"});
  EXPECT_EQ(empty.exitCode, 1);
  EXPECT_NE(empty.err.find("No hay registros en la base de datos."), std::string::npos)
      << empty.err;
  EXPECT_NE(report({"noaa-year", "--previous"}).exitCode, 0);

  generate();
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"noaa-month", "--month", "2006-13"},
        {"noaa-month", "--month", "2006-7"},
        {"noaa-month", "--month", "2006-12", "--current"},
        {"noaa-year", "--year", "06"},
        {"noaa-year", "--current", "--previous"}}) {
    const CommandRun bad = report(args);
    EXPECT_EQ(bad.exitCode, 2) << args[1] << " " << args[2];
    EXPECT_FALSE(bad.err.empty());
  }
  for (const char* name : {"NOAAMO.TXT", "NOAAPRMO.TXT", "NOAAYR.TXT", "NOAAPRYR.TXT"}) {
    EXPECT_FALSE(std::filesystem::exists(station_ + "/" + name)) << name;
  }
}

TEST_F(ReportCommand, SetupRefusesABadValueAndLeavesTheRecordAlone) {
  const std::string cfg = station_ + "/STATION.CFG";
  const std::string before = slurp(cfg);
  const CommandRun bad = report({"noaa-setup", "--city", "Lugo", "--normal-temp", "7=abc"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.err.find("Valor no válido para la temperatura media normal 'abc'para el mes 7."),
            std::string::npos)
      << bad.err;
  const CommandRun high = report({"noaa-setup", "--elevation", "40000"});
  EXPECT_NE(high.exitCode, 0);
  EXPECT_NE(high.err.find("¡Valor de altitud no válido!"), std::string::npos);
  EXPECT_EQ(report({"noaa-setup", "--method", "both"}).exitCode, 2);
  EXPECT_EQ(report({"noaa-setup", "--normal-rain", "13=1"}).exitCode, 2);
  EXPECT_EQ(slurp(cfg), before);

  const CommandRun good =
      report({"noaa-setup", "--city", "Lugo", "--heat-base", "60", "--method", "maxmin",
              "--normal-temp", "7=75.5", "--normal-rain", "7=2.5", "--elevation", "120"});
  ASSERT_EQ(good.exitCode, 0) << good.err;
  for (const char* want :
       {"Ciudad: Lugo\n", "Altitud: 120 pies\n", "Base de grados día de calor: 60.0 °F\n",
        "Método: (Máxima + Mínima) / 2\n", "Temperatura media normal 7: 75.5\n",
        "Lluvia normal 7: 2.50\n", "Lluvia normal 8: ---\n"}) {
    EXPECT_NE(good.out.find(want), std::string::npos) << want << " in\n" << good.out;
  }
  const CommandRun shown = report({"noaa-setup"});
  EXPECT_NE(shown.out.find("Ciudad: Lugo\n"), std::string::npos);
  const CommandRun cleared = report({"noaa-setup", "--normal-temp", "7="});
  EXPECT_NE(cleared.out.find("Temperatura media normal 7: ---\n"), std::string::npos);

  const CommandRun settings = report({"settings"});
  ASSERT_EQ(settings.exitCode, 0);
  EXPECT_NE(settings.out.find("Horas de frío (inicio, umbral, sensor): ---, 45, 0\n"),
            std::string::npos)
      << settings.out;
}

TEST(ReportCommandFiles, AnUnwritableStationKeepsItsPreviousReport) {
  platform::MemFileSystem mem;
  station::StationConfig config;
  config.setStationName("Sur");
  ASSERT_TRUE(mem.createDirectories("/sur").isOk());
  ASSERT_TRUE(station::writeStationRecord(mem, config, "/sur").isOk());
  ASSERT_TRUE(database::generateStation(mem, "/sur", {2006, 7, 1, 3, 60}).isOk());
  mem.setContents("/sur/NOAAMO.TXT", "previous\n");
  mem.failWrites(true);
  const CommandRun r =
      run({"report", "noaa-month", "--station", "/sur", "--program-dir", "/"}, &mem);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Imposible abrir noaa.txt"), std::string::npos) << r.err;
  EXPECT_EQ(mem.contents("/sur/NOAAMO.TXT"), "previous\n");
}

}  // namespace
