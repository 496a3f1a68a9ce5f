// Commands beside a running program, as an owner meets them: the real binary runs in a
// program directory, and the commands of this process talk to it over its socket.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "command_run.h"
#include "frame/program_settings.h"
#include "platform/control_socket.h"

namespace {

namespace fs = std::filesystem;
using clitest::run;
using nlohmann::json;

// A child process started with `args`, its output in `log`, ended at the latest with the test.
class Child {
 public:
  Child(const std::vector<std::string>& args, const fs::path& log) {
    pid_ = ::fork();
    if (pid_ == 0) {
      int null = ::open("/dev/null", O_RDONLY);
      int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(null, 0);
      ::dup2(out, 1);
      ::dup2(out, 2);
      std::vector<char*> argv;
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
  }
  ~Child() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  // Sends SIGTERM and waits; the exit code, or -1 when it did not exit by itself.
  int terminate() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
};

std::string binary(const char* name) { return std::string(STRATALOG_BINARY_DIR) + "/" + name; }

// Waits until `done` holds, for at most `ms` milliseconds of real time.
template <typename F>
bool waitFor(F done, int ms = 3000) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return done();
}

class RunningProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = clitest::scratchDirectory("running");
    socket_ = (dir_ / "stratalog.sock").string();
    auto created = run({"station", "create", "--name", "Casa", "--parent", dir_.string()});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    station_ = (dir_ / "Casa").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  void startProgram() {
    program_ = std::make_unique<Child>(
        std::vector<std::string>{binary("stratalog"), "run", "--program-dir", dir_.string()},
        dir_ / "run.log");
    ASSERT_TRUE(waitFor([&] { return platform::ControlClient::connect(socket_).isOk(); })) << log();
  }

  // What the running program holds now.
  json held() {
    auto client = platform::ControlClient::connect(socket_);
    if (!client || !client->send({{"request", "held"}}).isOk()) return {};
    auto answer = client->receive(std::chrono::milliseconds(2000));
    return answer && answer->contains("held") ? (*answer)["held"] : json();
  }

  std::string log() {
    std::ifstream in(dir_ / "run.log");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
  std::string socket_;
  std::string station_;
  std::unique_ptr<Child> program_;
};

TEST_F(RunningProgram, SettingsChangedBesideItAreHeldAndStillThereAfterSigterm) {
  startProgram();
  const std::string programDir = dir_.string();
  auto set = run(
      {"station", "set", "--rain-unit", "mm", "--latitude", "40.5", "--program-dir", programDir});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  EXPECT_NE(set.out.find("latitud: 40.5000"), std::string::npos) << set.out;
  EXPECT_EQ(held()["rainUnit"], 1);

  auto schedule = run({"schedule", "set", "--station", station_, "--hours", "6,18", "--minute", "9",
                       "--program-dir", programDir});
  ASSERT_EQ(schedule.exitCode, 0) << schedule.err;
  EXPECT_NE(schedule.out.find("horas: 6 18"), std::string::npos) << schedule.out;
  EXPECT_EQ(held()["hours"], json({6, 18}));

  // An editor replaces progdata.dat: wind in km/h.
  const fs::path settings = dir_ / "progdata.dat";
  auto bytes = platform::defaultFileSystem().readFile(settings.string());
  ASSERT_TRUE(bytes.isOk());
  (*bytes)[frame::progdata::kWindSpeedUnit] = 2;
  ASSERT_TRUE(
      platform::defaultFileSystem().replaceFileAtomically(settings.string(), *bytes).isOk());
  EXPECT_TRUE(waitFor([&] { return held()["windUnit"] == 2; }, 2000)) << held().dump();

  EXPECT_EQ(program_->terminate(), 0) << log();
  EXPECT_FALSE(fs::exists(socket_));
  auto show = run({"station", "show", "--station", station_, "--program-dir", programDir});
  EXPECT_NE(show.out.find("latitud: 40.5000"), std::string::npos) << show.out;
  EXPECT_NE(show.out.find("lluvia mm"), std::string::npos) << show.out;
  EXPECT_NE(show.out.find("viento kmh"), std::string::npos) << show.out;
  EXPECT_NE(run({"schedule", "show", "--program-dir", programDir}).out.find("horas: 6 18"),
            std::string::npos);
  EXPECT_NE(log().find("progdata.dat cambió fuera del programa"), std::string::npos) << log();
  // The commands' own changes were asked of the program: they are not logged as outside ones.
  EXPECT_EQ(log().find("STATION.CFG cambió fuera del programa"), std::string::npos) << log();
}

// The console's port belongs to the running program: it reads the current conditions for
// the command, and nothing is refused.
TEST_F(RunningProgram, CurrentConditionsComeFromTheRunningProgram) {
  Child sim({binary("stratalog-sim"), "--days", "1", "--interval", "60", "--loop-period", "200",
             "--path-file", (dir_ / "sim.path").string()},
            dir_ / "sim.log");
  std::string device;
  ASSERT_TRUE(waitFor([&] {
    std::ifstream in(dir_ / "sim.path");
    return static_cast<bool>(std::getline(in, device)) && !device.empty();
  }));
  auto port = run({"station", "set", "--station", station_, "--port", device, "--baud", "19200",
                   "--program-dir", dir_.string()});
  ASSERT_EQ(port.exitCode, 0) << port.err;
  startProgram();

  auto current = run({"current", "--program-dir", dir_.string()});
  EXPECT_EQ(current.exitCode, 0) << current.err << log();
  EXPECT_NE(current.out.find("Temperatura Exterior"), std::string::npos) << current.out;
  EXPECT_EQ(current.err, "");
  EXPECT_EQ(program_->terminate(), 0) << log();
  EXPECT_EQ(log().find("Otro Stratalog"), std::string::npos) << log();
}

}  // namespace
