// `stratalog schedule set` run in-process on the in-memory file system: it changes only
// what its options name and refuses, changing nothing, a list left without an hour.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "frame/program_settings.h"
#include "platform/testing/mem_file_system.h"
#include "station/station_config.h"
#include "station/station_file.h"

namespace cli {
namespace {

// The automatic-download fields of progdata.dat.
constexpr std::size_t kHoursOffset = 766;
constexpr std::size_t kMinuteOffset = 790;
constexpr std::size_t kEnabledOffset = 791;
constexpr std::size_t kLastHourOffset = 792;

constexpr const char* kProgramDir = "/prog";
constexpr const char* kSettings = "/prog/progdata.dat";
constexpr const char* kList = "/prog/download.lst";
constexpr const char* kStation = "/prog/Casa";

// A program directory whose automatic download runs station Casa at 7:05 and 19:05, and
// last ran at 7.
class ScheduleSet : public ::testing::Test {
 protected:
  void SetUp() override {
    station::StationConfig config;
    config.setStationName("Casa");
    ASSERT_TRUE(files_.createDirectories(kStation).isOk());
    ASSERT_TRUE(station::writeStationRecord(files_, config, kStation).isOk());
    frame::ProgramSettings settings;
    settings.setDownloadInHour(7, true);
    settings.setDownloadInHour(19, true);
    settings.setDownloadMinute(5);
    settings.setAutoDownloadEnabled(true);
    settings.setLastDownloadHour(7);
    ASSERT_TRUE(settings.save(files_, kSettings).isOk());
    ASSERT_TRUE(files_.replaceFileAtomically(kList, "/prog/Casa\n").isOk());
  }

  int run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    std::vector<std::string> full{"schedule", "set", "--program-dir", kProgramDir};
    full.insert(full.end(), args.begin(), args.end());
    CommandContext ctx{platform::Env{&files_}, &out_, &err_};
    return runCommandLine(full, ctx);
  }

  platform::MemFileSystem files_;
  std::ostringstream out_, err_;
};

TEST_F(ScheduleSet, MinuteAloneKeepsHoursAndStations) {
  const std::string before = files_.contents(kSettings);
  ASSERT_EQ(run({"--minute", "10"}), kExitOk) << err_.str();
  EXPECT_EQ(out_.str(),
            "descarga automática: activada\n"
            "minuto después de la hora: 10\n"
            "horas: 7 19\n"
            "estaciones:\n"
            "  /prog/Casa\n");
  EXPECT_EQ(err_.str(), "");
  EXPECT_EQ(files_.contents(kList), "/prog/Casa\n");

  const std::string after = files_.contents(kSettings);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t h = 0; h < 24; ++h) {
    EXPECT_EQ(after[kHoursOffset + h], (h == 7 || h == 19) ? 1 : 0) << "hour " << h;
  }
  EXPECT_EQ(after[kMinuteOffset], 10);
  EXPECT_EQ(after[kEnabledOffset], 1);
  // A saved choice opens a fresh window: the last hour becomes -1.
  EXPECT_EQ(static_cast<unsigned char>(after[kLastHourOffset]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(after[kLastHourOffset + 1]), 0xFF);
  // Nothing outside the schedule's fields moved.
  EXPECT_EQ(after.substr(0, kHoursOffset), before.substr(0, kHoursOffset));
  EXPECT_EQ(after.substr(kLastHourOffset + 2), before.substr(kLastHourOffset + 2));
}

TEST_F(ScheduleSet, HoursAloneKeepTheStations) {
  ASSERT_EQ(run({"--hours", "6-8"}), kExitOk) << err_.str();
  EXPECT_EQ(out_.str(),
            "descarga automática: activada\n"
            "minuto después de la hora: 5\n"
            "horas: 6 7 8\n"
            "estaciones:\n"
            "  /prog/Casa\n");
  EXPECT_EQ(files_.contents(kList), "/prog/Casa\n");
}

TEST_F(ScheduleSet, EmptyingTheListSwitchesOffAndKeepsTheHours) {
  ASSERT_EQ(run({"--no-stations"}), kExitOk) << err_.str();
  EXPECT_EQ(out_.str(),
            "descarga automática: desactivada\n"
            "minuto después de la hora: 5\n"
            "horas: 7 19\n"
            "estaciones:\n");
  EXPECT_EQ(files_.contents(kList), "");
  EXPECT_EQ(files_.contents(kSettings)[kEnabledOffset], 0);
}

// Stations are named by their display names too, and keep the order they are given in.
TEST_F(ScheduleSet, StationsByDisplayNameInTheGivenOrder) {
  station::StationConfig config;
  config.setStationName("Estación Norte");
  ASSERT_TRUE(files_.createDirectories("/prog/N1").isOk());
  ASSERT_TRUE(station::writeStationRecord(files_, config, "/prog/N1").isOk());
  ASSERT_EQ(run({"--station", "Estación Norte", "--station", kStation}), kExitOk) << err_.str();
  EXPECT_EQ(files_.contents(kList), "/prog/N1\n/prog/Casa\n");
  EXPECT_EQ(run({"--station", "Sur"}), kExitUsage);
  EXPECT_NE(err_.str().find("No hay ninguna estación 'Sur'."), std::string::npos) << err_.str();
  EXPECT_EQ(files_.contents(kList), "/prog/N1\n/prog/Casa\n");
}

struct Refusal {
  const char* name;
  std::vector<std::string> args;
};

class ScheduleSetRefusal : public ScheduleSet, public ::testing::WithParamInterface<Refusal> {};

TEST_P(ScheduleSetRefusal, LeavesBothFilesByteForByte) {
  const std::string settings = files_.contents(kSettings);
  const std::string list = files_.contents(kList);
  EXPECT_EQ(run(GetParam().args), kExitUsage);
  EXPECT_EQ(out_.str(), "");
  EXPECT_NE(err_.str().find("No quedaría ninguna hora elegida para la descarga automática"),
            std::string::npos)
      << err_.str();
  EXPECT_EQ(err_.str().find("¿"), std::string::npos) << err_.str();
  EXPECT_EQ(files_.contents(kSettings), settings);
  EXPECT_EQ(files_.contents(kList), list);
}

INSTANTIATE_TEST_SUITE_P(
    NoHourLeft, ScheduleSetRefusal,
    ::testing::Values(Refusal{"HoursNone", {"--hours", "none", "--minute", "10"}},
                      Refusal{"HoursEmpty", {"--hours", ""}},
                      Refusal{"StationGivenAgain", {"--hours", "none", "--station", "Casa"}}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace cli
