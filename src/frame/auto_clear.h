#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace frame {

class Program;

// The date stamp kept in `lastAutoClear`: year << 16 | month << 8 | day, so stamps
// compare in calendar order.
std::uint32_t dateStamp(const platform::CivilTime& t);

// True when the clear at `clearTime` (minutes after midnight) is due at `now`: not yet
// done today, and within the 10 minutes after its time. A time below zero means no
// automatic clear.
bool autoClearDue(int clearTime, std::uint32_t lastAutoClear, const platform::CivilTime& now);

// The automatic-clear part of the scheduler step, for an older console whose
// automatic clear is on: the day is recorded first (so a cancelled clear is not offered
// again that day), a 10-second count-down announces it, and the clear runs unattended.
void runAutoClearCheck(Program& program);

}  // namespace frame
