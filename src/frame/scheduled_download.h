#pragma once

#include "platform/clock.h"

namespace frame {

class Program;

// The automatic-download part of the scheduler step: while automatic download is on,
// the schedule check finds a due hour and the scheduled download runs for it.
void runScheduleCheck(Program& program);

// The scheduled download of every station in download.lst, the current station first.
// Each station is announced by a 10-second count-down, downloaded with its own settings
// and logged under its own name; a station that cannot be read is logged and skipped.
// The hour is recorded as done afterwards, even when the list could not be read, so the
// failure is logged once per window and not on every step.
void runScheduledDownload(Program& program, int hour);

}  // namespace frame
