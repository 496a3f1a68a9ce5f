#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "database/station_generator.h"
#include "database/weather_database.h"
#include "platform/file_system.h"
#include "station/data_sets.h"
#include "station/station_state.h"

namespace {

struct CommandRun {
  int exitCode;
  std::string out;
  std::string err;
};

CommandRun run(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  cli::CommandContext ctx{platform::Env{}, &out, &err};
  const int code = cli::runCommandLine(args, ctx);
  return {code, out.str(), err.str()};
}

std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ExportCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        std::filesystem::temp_directory_path() /
        ("stratalog-export-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    const CommandRun created =
        run({"station", "create", "--name", "Norte", "--parent", dir_.string()});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    station_ = (dir_ / "Norte").string();
    // Hourly records from 30 December 2005 to 2 February 2006.
    ASSERT_TRUE(
        database::generateStation(platform::defaultFileSystem(), station_, {2005, 12, 30, 35, 60})
            .isOk());
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  CommandRun exportCmd(std::vector<std::string> args) {
    args.insert(args.begin(), "export");
    args.insert(args.end(), {"--station", station_, "--program-dir", dir_.string()});
    return run(args);
  }
  int archiveRecords() {
    database::WeatherDatabase db(platform::defaultFileSystem());
    (void)db.openReadOnly(station_);
    return db.NumberOfRecordsInDataBase();
  }

  std::filesystem::path dir_;
  std::string station_;
};

TEST_F(ExportCommand, ListShowsTheDaysMonthsAndYears) {
  const CommandRun r = exportCmd({"list"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.find("Días:\n  2005-12-30\n  2005-12-31\n  2006-01-01\n"), 0u) << r.out;
  EXPECT_NE(r.out.find("  2006-02-02\nMeses:\n  2005-12\n  2006-01\n  2006-02\nAños:\n  2005\n  "
                       "2006\n"),
            std::string::npos)
      << r.out;
}

TEST_F(ExportCommand, TextWritesExportTxtInTheStationDirectory) {
  const CommandRun r = exportCmd({"text", "--day", "2006-01-02", "--month", "2005-12"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string text = slurp(std::filesystem::path(station_) / "export.txt");
  std::istringstream in(text);
  std::string line;
  int lines = 0;
  while (std::getline(in, line)) ++lines;
  EXPECT_EQ(lines, 2 + 3 * 24);
  EXPECT_EQ(text.find("\t"), 0u);
  EXPECT_NE(text.find("\n02-01-06\t1:00\t"), std::string::npos);
  EXPECT_NE(text.find("\n01-01-06\t00:00\t"), std::string::npos);  // 31 December's 24:00
  EXPECT_NE(r.out.find("export.txt"), std::string::npos);

  const CommandRun copy = exportCmd({"copy", "--day", "2006-01-02", "--month", "2005-12"});
  ASSERT_EQ(copy.exitCode, 0) << copy.err;
  EXPECT_EQ(copy.out, text);
  const CommandRun print = exportCmd({"print", "--year", "2006"});
  ASSERT_EQ(print.exitCode, 0) << print.err;
  EXPECT_EQ(print.out.find('\t'), std::string::npos);
  EXPECT_NE(print.out.find("Fecha"), std::string::npos);
}

TEST_F(ExportCommand, BadOrEmptyPicksExitTwoAndWriteNothing) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"text"}, "Seleccione los días, meses o años a exportar."},
      {{"copy"}, "Seleccione los días, meses o años a copiar."},
      {{"print"}, "Seleccione los días, meses o años a imprimir."},
      {{"text", "--month", "2006-13"}, "--month"},
      {{"text", "--year", "06"}, "--year"},
      {{"text", "--day", "2006-02-30"}, "--day"},
      {{"text", "--midnight", "12", "--year", "2006"}, "--midnight"},
  };
  for (const Case& c : cases) {
    const CommandRun r = exportCmd(c.args);
    EXPECT_EQ(r.exitCode, 2) << c.args[0] << " " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  const CommandRun absent = exportCmd({"text", "--day", "2006-01-02", "--day", "2006-03-01"});
  EXPECT_EQ(absent.exitCode, 1);
  EXPECT_NE(absent.err.find("No hay registros del día 2006-03-01."), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(station_) / "export.txt"));
}

}  // namespace

namespace {

TEST_F(ExportCommand, DeleteAsksFirstAndHeadlessWithoutYesDeletesNothing) {
  const int before = archiveRecords();
  const CommandRun asked = exportCmd({"delete", "--month", "2006-01"});
  EXPECT_EQ(asked.exitCode, 1) << asked.err;
  EXPECT_NE(asked.err.find("No se ha borrado nada."), std::string::npos) << asked.err;
  EXPECT_EQ(archiveRecords(), before);

  const CommandRun bad = exportCmd({"delete", "--yes", "--month", "2006-01", "--year", "2007"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(archiveRecords(), before);

  const CommandRun done =
      exportCmd({"delete", "--yes", "--month", "2006-01", "--day", "2006-01-05"});
  ASSERT_EQ(done.exitCode, 0) << done.err;
  EXPECT_EQ(archiveRecords(), before - 31 * 24);
  EXPECT_NE(done.out.find("Registros borrados. (744)"), std::string::npos) << done.out;
}

TEST_F(ExportCommand, DeleteUpdateRainSavesRainDb) {
  ASSERT_EQ(run({"rain", "build", "--station", station_, "--program-dir", dir_.string()})
                .exitCode,
            0);
  const std::string before = slurp(std::filesystem::path(station_) / "rain.db");
  const CommandRun done = exportCmd({"delete", "--yes", "--update-rain", "--year", "2005"});
  ASSERT_EQ(done.exitCode, 0) << done.err;
  const std::string after = slurp(std::filesystem::path(station_) / "rain.db");
  EXPECT_NE(after, before);
  EXPECT_NE(after.find("2006\t"), std::string::npos);
  EXPECT_NE(done.out.find("Base de datos de lluvia actualizada."), std::string::npos);
}

}  // namespace

namespace {

TEST_F(ExportCommand, GlobeWritesGlobeTxtAndKeepsTheIds) {
  const CommandRun missing = exportCmd({"globe", "--day", "2006-01-02", "--site", "S1"});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("Debe rellenar todos los campos."), std::string::npos);
  const CommandRun none = exportCmd({"globe", "--school", "E1", "--site", "S1"});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_NE(none.err.find("No hay nada seleccionado que exportar."), std::string::npos);
  const std::filesystem::path file = std::filesystem::path(station_) / "globe.txt";
  EXPECT_FALSE(std::filesystem::exists(file));

  const CommandRun first =
      exportCmd({"globe", "--day", "2006-01-02", "--school", "E1", "--site", "S1"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const std::string text = slurp(file);
  EXPECT_EQ(text.find("//AA\nQVXAD E1 S1 "), 0u) << text.substr(0, 80);
  EXPECT_EQ(text.substr(text.size() - 5), "//ZZ\n");
  // The station's default sensors lack soil: asked to choose, then without soil.
  const CommandRun soil =
      exportCmd({"globe", "--day", "2006-01-02", "--soil", "--soil-site", "T1"});
  EXPECT_EQ(soil.exitCode, 2);
  EXPECT_NE(soil.err.find("GLOBE soil report"), std::string::npos) << soil.err;
  const CommandRun without =
      exportCmd({"globe", "--month", "2006-02", "--soil", "--soil-site", "T1", "--without-soil"});
  ASSERT_EQ(without.exitCode, 0) << without.err;
  EXPECT_EQ(slurp(file).find("QVXSD"), std::string::npos);
  const CommandRun anyway = exportCmd({"globe", "--month", "2006-02", "--soil", "--soil-anyway"});
  ASSERT_EQ(anyway.exitCode, 0) << anyway.err;
  EXPECT_NE(slurp(file).find("\nQVXSD E1 T1 "), std::string::npos);
}

}  // namespace

namespace {

TEST_F(ExportCommand, GlobeWithSavingByHandNeedsBothMoments) {
  {
    auto st = station::loadStation(platform::defaultFileSystem(), station_,
                                   station::stationDataSets());
    ASSERT_TRUE(st.isOk());
    st->config.setConsoleDstManual(true);
    st->config.setGmtOffset(0);
    ASSERT_TRUE(station::saveStation(platform::defaultFileSystem(), *st).isOk());
  }
  const std::filesystem::path file = std::filesystem::path(station_) / "globe.txt";
  const std::vector<std::string> ids = {"globe", "--day", "2006-01-02", "--school", "E1",
                                        "--site", "S1"};
  std::vector<std::string> args = ids;
  args.insert(args.end(), {"--dst-start", "2006-01-01 00:00"});
  const CommandRun oneMoment = exportCmd(args);
  EXPECT_EQ(oneMoment.exitCode, 2);
  EXPECT_NE(oneMoment.err.find("--dst-end"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(file));

  args.insert(args.end(), {"--dst-end", "2006-01-02 25:00"});
  EXPECT_EQ(exportCmd(args).exitCode, 2);
  args.back() = "2006-01-02 12:00";
  const CommandRun both = exportCmd(args);
  ASSERT_EQ(both.exitCode, 0) << both.err;
  const std::string text = slurp(file);
  EXPECT_NE(text.find("QVXAD E1 S1 200601020000 "), std::string::npos);  // 01:00, saving
  EXPECT_NE(text.find("QVXAD E1 S1 200601021300 "), std::string::npos);  // 13:00, standard
  // 11:00 is the last saving hour and 12:00 the end: no record falls on 11:00 UT.
  EXPECT_EQ(text.find("QVXAD E1 S1 200601021100 "), std::string::npos);
  EXPECT_NE(text.find("QVXAD E1 S1 200601021200 "), std::string::npos);
}

}  // namespace
