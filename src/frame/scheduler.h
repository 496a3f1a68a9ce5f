#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace frame {

// The scheduler step of the one-second frame timer. An 8-bit tick counter starts at 1
// and grows on every tick; on the ticks where it is a multiple of 20, and only while
// scheduling is enabled, the steps run in the order they were added: the automatic
// clear, the automatic download, and later the upload scheduler and the module timer
// events. After the counter wraps from 255 to 0 the next step comes 16 ticks after the
// previous one, since 0 is a multiple of 20.
class Scheduler {
 public:
  using Step = std::function<void()>;
  static constexpr int kTicksPerStep = 20;

  void addStep(Step step) { steps_.push_back(std::move(step)); }

  // One frame timer tick. Returns true when the steps ran.
  bool tick();

  // Cleared while a dialog is open or a scheduled run goes on, so no second action starts.
  bool schedulingEnabled() const { return enabled_; }
  void setSchedulingEnabled(bool on) { enabled_ = on; }

  std::uint8_t tickCounter() const { return counter_; }

 private:
  std::vector<Step> steps_;
  std::uint8_t counter_ = 1;
  bool enabled_ = true;
  bool running_ = false;
};

// Clears the scheduling-enabled flag for the life of the scope and puts back the value
// it had, as every dialog and count-down does.
class SchedulingPause {
 public:
  explicit SchedulingPause(Scheduler& s) : s_(s), previous_(s.schedulingEnabled()) {
    s_.setSchedulingEnabled(false);
  }
  ~SchedulingPause() { s_.setSchedulingEnabled(previous_); }
  SchedulingPause(const SchedulingPause&) = delete;
  SchedulingPause& operator=(const SchedulingPause&) = delete;

 private:
  Scheduler& s_;
  bool previous_;
};

}  // namespace frame
