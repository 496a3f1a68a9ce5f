#pragma once

// The moon's phase for a universal date and time, as the web page tags show it.

namespace reports {

struct MoonPhase {
  double phase = 0;        // 0-1 through the cycle, 0 new, 0.5 full
  double illuminated = 0;  // fraction of the disc lit, 0-1
  double tagValue = 0;     // (phase + the lit fraction halved for the waxing half) / 2
};

MoonPhase moonPhase(int year, int month, int day, double universalHours);

}  // namespace reports
