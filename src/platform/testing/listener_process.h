#pragma once

// A helper program run beside a test, such as a small local server: started with its
// arguments, its first line of output read (a server prints its port there), stopped
// when the object goes.

#include <string>
#include <vector>

namespace platform {

class ListenerProcess {
 public:
  // Runs `argv` (argv[0] a full path) and waits for its first output line.
  explicit ListenerProcess(const std::vector<std::string>& argv);
  ~ListenerProcess();
  ListenerProcess(const ListenerProcess&) = delete;
  ListenerProcess& operator=(const ListenerProcess&) = delete;

  bool started() const { return pid_ > 0 && !firstLine_.empty(); }
  const std::string& firstLine() const { return firstLine_; }

 private:
  int pid_ = -1;
  int out_ = -1;
  std::string firstLine_;
};

}  // namespace platform
