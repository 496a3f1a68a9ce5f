#pragma once

// A real FTP server on 127.0.0.1 for the upload tests, started from the test and stopped
// when the object goes: the small pyftpdlib script beside this file.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

extern char** environ;

namespace uploadtest {

inline constexpr const char* kFtpPython = "/usr/bin/python3";

class FtpServer {
 public:
  // Serves `root` to `user`/`password`. port() is 0 when the server could not start.
  FtpServer(const std::filesystem::path& root, const std::string& user,
            const std::string& password) {
    if (!available()) return;
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string script = std::string(STRATALOG_SOURCE_DIR) + "/tests/publish/upload_ftp_server.py";
    const std::string rootText = root.string();
    char* argv[] = {const_cast<char*>(kFtpPython), const_cast<char*>(script.c_str()),
                    const_cast<char*>(rootText.c_str()), const_cast<char*>(user.c_str()),
                    const_cast<char*>(password.c_str()), nullptr};
    const int rc = posix_spawn(&pid_, kFtpPython, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    stdin_ = in[1];
    if (rc != 0) {
      pid_ = -1;
      close(out[0]);
      return;
    }
    std::FILE* f = fdopen(out[0], "r");
    if (f != nullptr) {
      if (std::fscanf(f, "%d", &port_) != 1) port_ = 0;
      std::fclose(f);
    }
  }
  ~FtpServer() {
    if (stdin_ >= 0) close(stdin_);
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
    }
  }
  FtpServer(const FtpServer&) = delete;
  FtpServer& operator=(const FtpServer&) = delete;

  int port() const { return port_; }

  // Whether the tool is installed at all (a test skips only then).
  static bool available() {
    return access(kFtpPython, X_OK) == 0 &&
           std::system("/usr/bin/python3 -c 'import pyftpdlib' >/dev/null 2>&1") == 0;
  }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1;
  int port_ = 0;
};

}  // namespace uploadtest
