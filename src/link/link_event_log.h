#pragma once

#include "frame/event_log.h"
#include "link/link_services.h"

namespace stationlink {

// Link error lines go to the program's event log under the link's label.
LinkErrorReporter eventLogReporter(frame::EventLog& log);

}  // namespace stationlink
