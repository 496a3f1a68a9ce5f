#include "link/link_event_log.h"

namespace stationlink {

LinkErrorReporter eventLogReporter(frame::EventLog& log) {
  return [&log](std::string_view source, std::string_view line) {
    // A line that cannot be logged must not fail the link operation that reported it.
    (void)log.append(line, source);
  };
}

}  // namespace stationlink
