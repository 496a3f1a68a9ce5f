#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "cli/command_run.h"
#include "database/station_generator.h"
#include "platform/file_system.h"
#include "platform/testing/mem_file_system.h"
#include "reports/report_data.h"
#include "station/station_file.h"
#include "station/station_state.h"

namespace {

using clitest::CommandRun;
using clitest::run;

std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ReportSunCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = clitest::scratchDirectory("sun");
    ASSERT_EQ(run({"station", "create", "--name", "Norte", "--parent", dir_.string()}).exitCode, 0);
    station_ = (dir_ / "Norte").string();
    std::ofstream(dir_ / "intl.ini") << "[intl]\niDate=1\nsDate=/\niTime=1\nsTime=:\n";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  CommandRun report(std::vector<std::string> args) {
    args.insert(args.begin(), "report");
    args.insert(args.end(), {"--station", station_, "--program-dir", dir_.string()});
    return run(args);
  }
  void locate() {
    ASSERT_EQ(run({"station", "set", "--station", station_, "--program-dir", dir_.string(),
                   "--latitude", "37.6", "--longitude", "-122.1"})
                  .exitCode,
              0);
  }
  station::StationConfig config() {
    auto st =
        station::loadStation(platform::defaultFileSystem(), station_, station::stationDataSets());
    EXPECT_TRUE(st.isOk());
    return st->config;
  }

  std::filesystem::path dir_;
  std::string station_;
};

TEST_F(ReportSunCommand, SunriseWritesTheReportAndKeepsTheZoneChoices) {
  const CommandRun unset = report({"sunrise", "--date", "2006-04-02"});
  EXPECT_EQ(unset.exitCode, 1);
  EXPECT_NE(unset.err.find("Configure Latitud y Longitud"), std::string::npos) << unset.err;
  EXPECT_FALSE(std::filesystem::exists(station_ + "/sunrise.txt"));

  locate();
  const CommandRun day =
      report({"sunrise", "--date", "2006-04-02", "--zone", "4", "--dst", "auto"});
  ASSERT_EQ(day.exitCode, 0) << day.err;
  EXPECT_EQ(day.out, "Informe escrito: " + station_ + "/sunrise.txt\n");
  EXPECT_NE(
      slurp(station_ + "/sunrise.txt")
          .find("\n 02/04/06   5:23   5:55   6:26    6:52   19:32  19:58  20:30  21:02  12:40\n"),
      std::string::npos);

  const std::string chosen = (dir_ / "sol.txt").string();
  const CommandRun year = report({"sunrise", "--date", "2006-01-01", "--range", "year", "--offset",
                                  "5.5", "--dst", "on", "--output", chosen});
  ASSERT_EQ(year.exitCode, 0) << year.err;
  EXPECT_NE(
      slurp(chosen).find("   Zona Horaria: (GMT+05:30)\n   Horario de Ahorro de Luz Diurna: On\n"),
      std::string::npos);
  station::StationConfig c = config();
  EXPECT_EQ(c.timeZoneIndex(), -1);
  EXPECT_FLOAT_EQ(c.gmtOffset(), 5.5F);
  EXPECT_TRUE(c.dstManual());
  EXPECT_TRUE(c.dstManualOn());
}

TEST_F(ReportSunCommand, SunriseRefusesBadChoicesAndChangesNothing) {
  locate();
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"sunrise", "--offset", "13"},
        {"sunrise", "--offset", "cinco"},
        {"sunrise", "--zone", "47"},
        {"sunrise", "--zone", "3", "--offset", "2"},
        {"sunrise", "--range", "week"},
        {"sunrise", "--dst", "maybe"},
        {"sunrise", "--date", "31/02/06"}}) {
    const CommandRun bad = report(args);
    EXPECT_EQ(bad.exitCode, 2) << args[1] << " " << args[2];
    EXPECT_FALSE(bad.err.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(station_ + "/sunrise.txt"));
  EXPECT_FALSE(config().dstManual());
  const CommandRun zones = report({"sunrise", "--list-zones"});
  EXPECT_EQ(zones.exitCode, 0);
  EXPECT_NE(zones.out.find("13  (GMT-03.30) Newfoundland\n"), std::string::npos);
}

TEST_F(ReportSunCommand, SunshineStoresItsStartAndThreshold) {
  EXPECT_EQ(report({"sunshine"}).exitCode, 1);  // empty database
  ASSERT_TRUE(
      database::generateStation(platform::defaultFileSystem(), station_, {2006, 12, 20, 27, 5})
          .isOk());
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"sunshine", "--threshold", "1401"},
        {"sunshine", "--start", ""},
        {"sunshine", "--start", "2007-01-10", "--end", "2007-01-01"}}) {
    const CommandRun bad = report(args);
    EXPECT_EQ(bad.exitCode, 2) << args[1] << " " << args[2];
    EXPECT_FALSE(bad.err.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(station_ + "/print.txt"));

  const CommandRun ok = report({"sunshine", "--start", "2006-12-25", "--threshold", "50"});
  ASSERT_EQ(ok.exitCode, 0) << ok.err;
  const std::string text = slurp(station_ + "/print.txt");
  EXPECT_NE(text.find(" Fecha Inicio: 25/12/06\n Fecha Final: 15/01/07\n  Umbral: 50 W/m²\n"),
            std::string::npos)
      << text;
  const station::StationConfig saved = config();
  const reports::ReportSettings stored(saved);
  EXPECT_EQ(*stored.sunHoursStart(), (quantities::Date{2006, 12, 25}));
  EXPECT_EQ(*stored.sunHoursThreshold(), 50);
}

// Files in memory whose station record can no longer be replaced.
class StationRecordLocked : public platform::MemFileSystem {
 public:
  platform::Status replaceFileAtomically(const std::string& path, std::string_view bytes,
                                         bool privateMode) override {
    if (locked(path)) return platform::Status::io("bloqueado");
    return MemFileSystem::replaceFileAtomically(path, bytes, privateMode);
  }
  platform::Status rename(const std::string& from, const std::string& to) override {
    if (locked(to)) return platform::Status::io("bloqueado");
    return MemFileSystem::rename(from, to);
  }
  bool lock = false;

 private:
  bool locked(const std::string& path) const {
    return lock && path.find("STATION.CFG") != std::string::npos;
  }
};

TEST(ReportSunFiles, AFailedStationSaveIsReportedAndTheReportStays) {
  StationRecordLocked mem;
  station::StationConfig config;
  config.setStationName("Sur");
  ASSERT_TRUE(mem.createDirectories("/sur").isOk());
  ASSERT_TRUE(station::writeStationRecord(mem, config, "/sur").isOk());
  ASSERT_TRUE(database::generateStation(mem, "/sur", {2006, 7, 1, 3, 60}).isOk());
  mem.lock = true;
  const CommandRun r = run(
      {"report", "sunshine", "--station", "/sur", "--program-dir", "/", "--threshold", "10"}, &mem);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("bloqueado"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("/sur/print.txt"), std::string::npos) << r.out;
  EXPECT_NE(mem.contents("/sur/print.txt").find("  Umbral: 10 W/m²"), std::string::npos);
}

}  // namespace
