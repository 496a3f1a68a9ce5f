#pragma once

#include "platform/status.h"
#include "publish/publish_context.h"

namespace frame {

class Program;

// Reads the open station's console once and builds what pages and pictures are filled
// from: the readings, the highs and lows of its database, the wind history while real-time
// views run, the clock and the user's units. Fails, with the link's own text, when no link
// is free or the console does not answer. REQUIRES: a station is open.
platform::Result<publish::PublishContext> readPublishContext(Program& program);

}  // namespace frame
