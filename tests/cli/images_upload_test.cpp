// stratalog upload with web images, against a real FTP server on 127.0.0.1 and the
// station's console in process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/command_run.h"
#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "publish/upload_ftp_server.h"

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class ImagesUpload : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!uploadtest::FtpServer::available()) GTEST_SKIP() << "pyftpdlib is not installed";
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() / ("stratalog-images-up-" + std::to_string(::getpid()) + "-" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "server");
    clock_.setLocal(2006, 3, 15, 12, 0);
    consolesim::EngineOptions o;
    o.historyDays = 1;
    o.archiveIntervalMinutes = 30;
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock_, o);
    opener_ = std::make_unique<consolesim::SimSerialPortOpener>(*engine_, clock_);
    server_ = std::make_unique<uploadtest::FtpServer>(dir_ / "server", "obs", "clave");
    ASSERT_NE(server_->port(), 0);
    ASSERT_EQ(run({"station", "create", "--name", "Casa", "--parent", dir_.string()}).exitCode, 0);
    const auto set = run(at({"inet", "set", "--host", "127.0.0.1", "--user", "obs", "--password",
                             "--port", std::to_string(server_->port()), "--passive", "on",
                             "--internet", "on", "--access", "direct"}),
                         "clave\n");
    ASSERT_EQ(set.exitCode, 0) << set.err;
    ASSERT_EQ(run(at({"profile", "set", "1", "--current-image-dir", "img", "--history-image-dir",
                      "img"}))
                  .exitCode,
              0);
    ASSERT_EQ(run(at({"profile", "images", "1", "--add", "OutsideTemp.gif", "--add",
                      "OutsideTempHistory.gif", "--size", "med"}))
                  .exitCode,
              0);
  }
  void TearDown() override {
    server_.reset();
    fs::remove_all(dir_);
  }

  using Run = clitest::CommandRun;
  Run run(const std::vector<std::string>& args, const std::string& input = {}) {
    platform::Env env;
    env.clock = &clock_;
    env.serialPorts = opener_.get();
    return clitest::run(args, env, input);
  }
  std::vector<std::string> at(std::vector<std::string> args) {
    args.insert(args.end(), {"--station", "Casa", "--program-dir", dir_.string()});
    return args;
  }
  fs::path images() const { return dir_ / "Casa" / "Images" / "Profile1"; }

  fs::path dir_;
  platform::FakeClock clock_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<consolesim::SimSerialPortOpener> opener_;
  std::unique_ptr<uploadtest::FtpServer> server_;
};

TEST_F(ImagesUpload, BothPicturesAreDrawnAtMedAndArriveIdentical) {
  const Run up = run(at({"upload", "1"}));
  ASSERT_EQ(up.exitCode, 0) << up.err << slurp(dir_ / "download.log");
  struct Want {
    const char* name;
    std::string header;
  };
  // GIF87a, the size, a 16-entry colour table, and 4-bit LZW codes: every index is in the table.
  const Want kWant[] = {{"OutsideTemp.gif", std::string("GIF87a\x96\x00\x96\x00\xB3", 11)},
                        {"OutsideTempHistory.gif", std::string("GIF87a\x40\x01\xC8\x00\xB3", 11)}};
  for (const Want& w : kWant) {
    const std::string local = slurp(images() / w.name);
    ASSERT_GT(local.size(), 13u + 48u + 11u) << w.name;
    EXPECT_EQ(local.substr(0, 11), w.header) << w.name;
    EXPECT_EQ(local[13 + 48 + 10], 0x04) << w.name;
    EXPECT_EQ(slurp(dir_ / "server" / "img" / w.name), local) << w.name;
  }
}

TEST_F(ImagesUpload, AStationWithoutOutsideTemperatureLogsBothMessagesAndSendsNothing) {
  // The setup offers no switch for the base sensors: clear bit 0 of sensorMask (504).
  const fs::path cfg = dir_ / "Casa" / "STATION.CFG";
  std::string bytes = slurp(cfg);
  ASSERT_GT(bytes.size(), 504u);
  bytes[504] = static_cast<char>(bytes[504] & ~1);
  std::ofstream(cfg, std::ios::binary | std::ios::trunc) << bytes;
  const Run up = run(at({"upload", "1"}));
  EXPECT_EQ(up.exitCode, 0) << up.err;
  const std::string log = slurp(dir_ / "download.log");
  EXPECT_NE(log.find("Error al crear imagen de Temperatura Exterior. Comprobar Sensores."),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("Error al crear imagen histórica de Temperatura Exterior. Comprobar Sensores."),
            std::string::npos)
      << log;
  EXPECT_FALSE(fs::exists(images() / "OutsideTemp.gif"));
  EXPECT_FALSE(fs::exists(images() / "OutsideTempHistory.gif"));
  EXPECT_FALSE(fs::exists(dir_ / "server" / "img"));
  EXPECT_EQ(slurp(dir_ / "Casa" / "UploadList.txt"), "");
}

}  // namespace
