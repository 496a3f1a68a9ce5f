#pragma once

#include "frame/command_line_switches.h"
#include "platform/status.h"

namespace frame {

class Program;

// The "-d" and "-c" work, called once at the end of start-up. Everything runs with the
// unattended flag set and is logged with the station's name. Returns the exit code:
// 0 when the switch's work succeeded, 1 otherwise (a refused leap day, a failed or
// unsupported download or clear), so cron and the service manager can tell.
//
// Leap-day guard: on 29 February an older console (Basalt, Tessel, Lumeno) is neither
// downloaded nor cleared; 60025 and 60024 are logged instead.
int RunCommandLineSwitch(Program& program, const CommandLineSwitches& switches);

// True on 29 February for a station of the older models, whose clocks cannot hold it.
bool leapDayGuardApplies(Program& program);

// Runs the selected clear items of the current station's console (older models only).
// kUnsupported when no console offers them; a link failure carries its code.
platform::Status runClearOfCurrentStation(Program& program);

}  // namespace frame
