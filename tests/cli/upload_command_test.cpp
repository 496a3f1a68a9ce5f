// stratalog upload against a real FTP server on 127.0.0.1, the station's console in process:
// the settings made with the commands, the page and a binary file sent, the result logged.
#include <gtest/gtest.h>
#include <sys/stat.h>

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

class UploadCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!uploadtest::FtpServer::available()) GTEST_SKIP() << "pyftpdlib is not installed";
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("stratalog-upload-" + std::to_string(::getpid()) + "-" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "server" / "www");
    clock_.setLocal(2006, 3, 15, 12, 0);
    consolesim::EngineOptions o;
    o.historyDays = 1;
    o.archiveIntervalMinutes = 30;
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock_, o);
    opener_ = std::make_unique<consolesim::SimSerialPortOpener>(*engine_, clock_);
    server_ = std::make_unique<uploadtest::FtpServer>(dir_ / "server", "obs", "pw#1 ;x");
    ASSERT_NE(server_->port(), 0);

    ASSERT_EQ(run({"station", "create", "--name", "Casa", "--parent", dir_.string()}).exitCode, 0);
    station_ = dir_ / "Casa";
    std::ofstream(station_ / "index.htx") << "<html><p><!--StationName--></p></html>\n";
    for (int i = 0; i < 256; ++i) binary_ += static_cast<char>(i);
    std::ofstream(station_ / "logo.bin", std::ios::binary) << binary_;
    for (const char* f : {"index.htx", "logo.bin"}) {
      ASSERT_EQ(run(at({"profile", "add-file", "1", (station_ / f).string()})).exitCode, 0);
    }
    ASSERT_EQ(run(at({"profile", "set", "1", "--page-dir", "www/cur"})).exitCode, 0);
    setPassword("pw#1 ;x");
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
  void setPassword(const std::string& password) {
    const Run set = run(at({"inet", "set", "--host", "127.0.0.1", "--user", "obs", "--password",
                            "--port", std::to_string(server_->port()), "--passive", "on",
                            "--internet", "on", "--access", "direct"}),
                        password + "\n");
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_NE(set.out.find("Contraseña FTP: puesta"), std::string::npos);
    EXPECT_EQ(set.out.find(password), std::string::npos);
  }
  std::string newestLogLine() {
    const std::string log = slurp(dir_ / "download.log");
    return log.substr(0, log.find('\n'));
  }

  fs::path dir_;
  fs::path station_;
  std::string binary_;
  platform::FakeClock clock_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<consolesim::SimSerialPortOpener> opener_;
  std::unique_ptr<uploadtest::FtpServer> server_;
};

TEST_F(UploadCommandTest, SendsThePageAndABinaryFileIntoANewDirectory) {
  const Run up = run(at({"upload", "1"}));
  EXPECT_EQ(up.exitCode, 0) << up.err << slurp(dir_ / "download.log");
  EXPECT_NE(up.out.find("completada correctamente."), std::string::npos) << up.out;
  EXPECT_NE(
      newestLogLine().find("Carga de Perfil(es) de Carga de Datos 1  completada correctamente."),
      std::string::npos)
      << newestLogLine();
  EXPECT_EQ(slurp(dir_ / "server/www/cur/index.htm"), "<html><p>Casa</p></html>\n");
  EXPECT_EQ(slurp(dir_ / "server/www/cur/logo.bin"), binary_);

  // The password is in the configuration, private, and in no other file.
  struct stat st {};
  ASSERT_EQ(::stat((station_ / "Inet-Configuration.cfg").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  for (const auto& e : fs::recursive_directory_iterator(dir_)) {
    if (!e.is_regular_file() || e.path().filename() == "Inet-Configuration.cfg") continue;
    if (e.path().string().find("/server/") != std::string::npos) continue;
    EXPECT_EQ(slurp(e.path()).find("pw#1 ;x"), std::string::npos) << e.path();
  }
}

TEST_F(UploadCommandTest, AWrongPasswordIsNeverASuccess) {
  setPassword("wrong");
  const Run up = run(at({"upload", "1"}));
  EXPECT_NE(up.exitCode, 0);
  const std::string line = newestLogLine();
  EXPECT_TRUE(line.find("parcialmente completada") != std::string::npos ||
              line.find("Imposible cargar") != std::string::npos)
      << line;
  EXPECT_FALSE(fs::exists(dir_ / "server/www/cur/logo.bin"));
}

TEST_F(UploadCommandTest, BadInputLeavesTheStoredFileUnchanged) {
  const std::string before = slurp(station_ / "Inet-Configuration.cfg");
  const std::vector<std::vector<std::string>> bad = {
      {"inet", "set", "--port", "0"},
      {"inet", "set", "--host", std::string(64, 'h')},
      {"profile", "set", "1", "--enabled", "on"},
      {"profile", "add-file", "1", (dir_ / "missing.htx").string()},
      {"upload", "9"},
  };
  for (const auto& args : bad) {
    const Run r = run(at(args));
    EXPECT_NE(r.exitCode, 0) << args[0] << " " << args[1];
    EXPECT_FALSE(r.err.empty()) << args[0] << " " << args[1];
    EXPECT_EQ(slurp(station_ / "Inet-Configuration.cfg"), before) << args[0] << " " << args[1];
  }
}

}  // namespace
