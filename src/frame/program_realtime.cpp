// How the real-time readings reach the rest of the program: the open station's shared
// link, the event log under the station's name, boxes only while a person is there, the
// terminal bell, and the 500 ms timer on the program's loop.
#include <ostream>

#include "frame/program.h"

namespace frame {

stationlink::RealtimeHost Program::realtimeHost() {
  stationlink::RealtimeHost host;
  host.link = [this]() -> stationlink::ConsoleLink* {
    return current_ ? stations_->stationLink() : nullptr;
  };
  host.clock = env_.clock;
  host.log = [this](std::string_view line) {
    (void)messages_.LogMessage(line, currentStationName());
  };
  host.show = [this](std::string_view title, std::string_view text) {
    if (!unattended_.isSet()) guardedUi_.message(title, text);
  };
  host.beep = [this] {
    if (interactive_ && out_ != nullptr) *out_ << '\a' << std::flush;
  };
  host.timer = [this](bool armed) {
    if (realtimeTimer_) loop_.removeTimer(*realtimeTimer_);
    realtimeTimer_.reset();
    if (!armed) return;
    realtimeTimer_ = loop_.addTimer(stationlink::RealtimeManager::kTickInterval,
                                    [this]() -> std::optional<std::chrono::milliseconds> {
                                      realtime_->tick();
                                      return stationlink::RealtimeManager::kTickInterval;
                                    });
  };
  return host;
}

}  // namespace frame
