// The interactive program as a person meets it: the real binary on a terminal of its own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/testing/test_pty.h"

namespace {

namespace fs = std::filesystem;

class InteractiveTerminal : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("stratalog-terminal-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Starts the program in the program directory with the pty as its controlling terminal,
  // so that Ctrl-C typed at the master reaches it as SIGINT.
  pid_t start(platform::TestPty& pty) {
    const std::string binary = std::string(STRATALOG_BINARY_DIR) + "/stratalog";
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::setsid();
      ::ioctl(pty.slaveFd(), TIOCSCTTY, 0);
      ::dup2(pty.slaveFd(), 0);
      ::dup2(pty.slaveFd(), 1);
      ::dup2(pty.slaveFd(), 2);
      if (::chdir(dir_.c_str()) != 0) ::_exit(126);
      ::execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    return pid;
  }

  // Reads the screen until `text` shows, for at most about `ms` milliseconds.
  static bool readUntil(platform::TestPty& pty, std::string& screen, const std::string& text,
                        int ms) {
    for (int waited = 0; waited < ms; waited += 50) {
      if (screen.find(text) != std::string::npos) return true;
      auto got = pty.read(50);
      if (got) screen.append(got->begin(), got->end());
    }
    return screen.find(text) != std::string::npos;
  }

  fs::path dir_;
};

TEST_F(InteractiveTerminal, ShowsAPromptAndCtrlCSavesSaysSoAndEndsWith130) {
  auto pty = platform::TestPty::openTerminal();
  ASSERT_TRUE(pty.isOk()) << pty.status().toString();
  const pid_t pid = start(**pty);
  ASSERT_GT(pid, 0);
  std::string screen;
  // A first start offers to create a station; the person says no.
  ASSERT_TRUE(readUntil(**pty, screen, "[s/n] ", 20000)) << screen;
  const std::string no = "n\n";
  ASSERT_TRUE(
      (*pty)->write(std::span(reinterpret_cast<const std::uint8_t*>(no.data()), no.size())).isOk());
  ASSERT_TRUE(readUntil(**pty, screen, "stratalog> ", 20000)) << screen;

  const std::uint8_t ctrlC = 3;
  ASSERT_TRUE((*pty)->write(std::span(&ctrlC, 1)).isOk());
  EXPECT_TRUE(readUntil(**pty, screen,
                        "Interrumpido (Ctrl-C): se guarda todo y se cierra Stratalog.", 20000))
      << screen;
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << screen;
  EXPECT_EQ(WEXITSTATUS(status), 130) << screen;
  // The shutdown order saved the program's settings.
  EXPECT_TRUE(fs::exists(dir_ / "progdata.dat"));
}

}  // namespace
