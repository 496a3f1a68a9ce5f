#include "frame/scheduler.h"

namespace frame {

bool Scheduler::tick() {
  ++counter_;
  if (counter_ % kTicksPerStep != 0 || !enabled_ || running_) return false;
  // A step that waits (a count-down, a download) may let the loop tick again; the guard
  // keeps the steps from being entered twice.
  running_ = true;
  for (const Step& step : steps_) step();
  running_ = false;
  return true;
}

}  // namespace frame
