#pragma once

// A console played on the master side of a pseudo-terminal by a thread: when the program
// has written what the next step expects, the step's answer is written back.

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/testing/test_pty.h"
#include "scripted_port.h"

namespace linktest {

class PtyConsole {
 public:
  explicit PtyConsole(platform::TestPty& pty) : pty_(pty), thread_([this] { run(); }) {}
  ~PtyConsole() {
    stop_ = true;
    thread_.join();
  }

  void on(Bytes expect, Bytes reply) {
    std::lock_guard lock(mutex_);
    steps_.push_back({std::move(expect), std::move(reply)});
  }
  void onText(std::string_view expect, Bytes reply) { on(bytes(expect), std::move(reply)); }
  void wake() { on({0x0A}, {0x0A, 0x0D}); }

 private:
  void run() {
    Bytes since;
    while (!stop_) {
      auto got = pty_.read(20);
      if (!got || got->empty()) continue;
      std::lock_guard lock(mutex_);
      for (std::uint8_t b : *got) {
        since.push_back(b);
        if (steps_.empty()) continue;
        const Bytes& expect = steps_.front().first;
        if (since.size() >= expect.size() &&
            std::equal(expect.begin(), expect.end(), since.end() - expect.size())) {
          (void)pty_.write(steps_.front().second);
          steps_.pop_front();
          since.clear();
        }
      }
    }
  }

  platform::TestPty& pty_;
  std::mutex mutex_;
  std::deque<std::pair<Bytes, Bytes>> steps_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace linktest
