#include "platform/testing/listener_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

ListenerProcess::ListenerProcess(const std::vector<std::string>& argv) {
  int fds[2];
  if (::pipe(fds) != 0) return;
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return;
  }
  if (pid == 0) {
    ::dup2(fds[1], STDOUT_FILENO);
    ::close(fds[0]);
    ::close(fds[1]);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  ::close(fds[1]);
  pid_ = pid;
  out_ = fds[0];
  char ch;
  while (::read(out_, &ch, 1) == 1 && ch != '\n') firstLine_ += ch;
}

ListenerProcess::~ListenerProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  if (out_ >= 0) ::close(out_);
}

}  // namespace platform
