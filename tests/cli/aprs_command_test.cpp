// "stratalog aprs" as a station owner runs it: settings checked before they are stored, and
// one report from the in-process console to a local stand-in server.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/command_run.h"
#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "platform/file_system.h"
#include "platform/testing/listener_process.h"
#include "station/station_config_layout.h"
#include "station/station_file.h"

namespace cli {
namespace {

namespace layout = station::layout;

std::string fileText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class AprsCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("stratalog-aprs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    clock_.setLocal(2006, 3, 15, 23, 50);
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock_, consolesim::EngineOptions{});
    opener_ = std::make_unique<consolesim::SimSerialPortOpener>(*engine_, clock_);
    Run created = run({"station", "create", "--name", "Cumbre", "--parent", dir_.string()});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    station_ = (dir_ / "Cumbre").string();
    auto config = station::readStationRecord(platform::defaultFileSystem(), station_);
    ASSERT_TRUE(config.isOk());
    config->set(layout::kLatDeg, std::int16_t{37});
    config->set(layout::kLatMin, std::int16_t{45});
    config->set(layout::kLatSec, std::int16_t{30});
    config->set(layout::kLonDeg, std::int16_t{122});
    config->set(layout::kLonMin, std::int16_t{7});
    config->set(layout::kLonSec, std::int16_t{30});
    config->set(layout::kLonWest, std::uint8_t{1});
    config->setSensorMask(config->sensorMask() | (1u << 0) | (1u << 4) | (1u << 8) | (1u << 15));
    ASSERT_TRUE(station::writeStationRecord(platform::defaultFileSystem(), *config, station_).isOk());
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  using Run = clitest::CommandRun;
  Run run(const std::vector<std::string>& args, const std::string& input = {}) {
    platform::Env env;
    env.clock = &clock_;
    env.serialPorts = opener_.get();
    return clitest::run(args, env, input);
  }
  std::vector<std::string> at(std::vector<std::string> args) {
    args.insert(args.end(), {"--station", station_, "--program-dir", dir_.string()});
    return args;
  }
  std::string stationFile() const { return fileText(std::filesystem::path(station_) / "STATION.CFG"); }

  std::filesystem::path dir_;
  std::string station_;
  platform::FakeClock clock_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<consolesim::SimSerialPortOpener> opener_;
};

TEST_F(AprsCommand, BadSettingsAreRefusedAndTheFileStaysAsItWas) {
  const std::string before = stationFile();
  struct Row {
    std::vector<std::string> args;
    std::string input;
  };
  const Row rows[] = {
      {{"aprs", "set", "--call-sign", "N0CALL-123"}, ""},
      {{"aprs", "set", "--call-sign", "TOOLONG1"}, ""},
      {{"aprs", "set", "--port", "0"}, ""},
      {{"aprs", "set", "--port", "65536"}, ""},
      {{"aprs", "set", "--call-sign", "N0CALL", "--login-from-stdin"}, "12 45\n"},
      {{"aprs", "set", "--login-from-stdin"}, ""},
  };
  for (const Row& row : rows) {
    Run r = run(at(row.args), row.input);
    EXPECT_EQ(r.exitCode, kExitUsage) << row.args[2] << " " << row.args[3];
    EXPECT_NE(r.err.find("stratalog aprs set: "), std::string::npos) << r.err;
  }
  EXPECT_EQ(stationFile(), before);
}

TEST_F(AprsCommand, ShowTellsWhetherTheLoginIsSetButNeverTheLogin) {
  ASSERT_EQ(run(at({"aprs", "set", "--call-sign", "ea4xyz-1", "--port", "14580",
                    "--login-from-stdin"}), "98765\n").exitCode, 0);
  Run shown = run(at({"aprs", "show"}));
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_NE(shown.out.find("Indicativo:      EA4XYZ-1\n"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("Puerto:          14580\n"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("Contraseña:      definida\n"), std::string::npos) << shown.out;
  EXPECT_EQ(shown.out.find("98765"), std::string::npos) << shown.out;
}

TEST_F(AprsCommand, SendLogsInAndTheReportDecodesWithEveryField) {
  if (!std::filesystem::exists("/usr/bin/python3")) GTEST_SKIP() << "python3 is not installed";
  const auto log = dir_ / "server.log";
  platform::ListenerProcess server({"/usr/bin/python3",
                                    std::string(STRATALOG_SOURCE_DIR) + "/tests/publish/aprs_listener.py",
                                    "answer", log.string()});
  ASSERT_TRUE(server.started());
  Run set = run(at({"aprs", "set", "--call-sign", "n0call", "--server", "127.0.0.1", "--port",
                    server.firstLine(), "--login-from-stdin"}),
                "12345\n");
  ASSERT_EQ(set.exitCode, 0) << set.err;

  Run printed = run(at({"aprs", "send", "--print"}));
  ASSERT_EQ(printed.exitCode, 0) << printed.err;
  EXPECT_EQ(printed.out.rfind("N0CALL>APRS,TCPIP*:@152350z3745.50N/12207.50W_", 0), 0U) << printed.out;
  EXPECT_FALSE(std::filesystem::exists(log));

  Run sent = run(at({"aprs", "send"}));
  ASSERT_EQ(sent.exitCode, 0) << sent.err;
  std::istringstream lines(fileText(log));
  std::string login, report;
  std::getline(lines, login);
  std::getline(lines, report);
  EXPECT_EQ(login, "user N0CALL pass 12345");
  // Without the real-time view there is no gust; every other piece holds a reading.
  std::string withoutGust = report;
  withoutGust.replace(withoutGust.find("g..."), 4, "");
  EXPECT_EQ(withoutGust.find(".."), std::string::npos) << report;

  if (!std::filesystem::exists("/usr/bin/decode_aprs")) GTEST_SKIP() << "decode_aprs is not installed";
  std::ofstream(dir_ / "report.txt") << report << "\n";
  const std::string command = "/usr/bin/decode_aprs < '" + (dir_ / "report.txt").string() + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string decoded;
  char buf[512];
  while (std::fgets(buf, sizeof buf, pipe) != nullptr) decoded += buf;
  ::pclose(pipe);
  for (const char* field : {"N 37 45.5000", "W 122 07.5000", "humidity", "temperature", "rain",
                            "barometer", "direction"}) {
    EXPECT_NE(decoded.find(field), std::string::npos) << field << "\n" << decoded;
  }
  EXPECT_EQ(decoded.find("ERROR"), std::string::npos) << decoded;
}

}  // namespace
}  // namespace cli
