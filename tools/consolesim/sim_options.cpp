#include "consolesim/sim_options.h"

#include <cstdio>

namespace consolesim {
namespace {

platform::Status bad(const std::string& what) { return platform::Status::badArgument(what); }

bool validDate(int y, int m, int d) {
  return y >= 1900 && y <= 2155 && m >= 1 && m <= 12 && d >= 1 && d <= platform::daysInMonth(y, m);
}

}  // namespace

platform::Result<platform::CivilTime> parseStartTime(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0;
  char sep = 0;
  char extra = 0;
  const int n =
      std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d%c", &y, &mo, &d, &sep, &h, &mi, &extra);
  if (n != 6 || (sep != ' ' && sep != 'T') || !validDate(y, mo, d) || h < 0 || h > 23 || mi < 0 ||
      mi > 59) {
    return bad("--start \"" + text + "\": expected YYYY-MM-DD HH:MM");
  }
  platform::CivilTime c;
  c.year = y;
  c.month = mo;
  c.day = d;
  c.hour = h;
  c.minute = mi;
  return c;
}

platform::Result<FirmwareDate> parseFirmwareDate(const std::string& text) {
  int y = 0, m = 0, d = 0;
  char extra = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &extra) != 3 || !validDate(y, m, d)) {
    return bad("--firmware \"" + text + "\": expected YYYY-MM-DD");
  }
  return FirmwareDate{y, m, d};
}

platform::Result<EngineOptions> toEngineOptions(const SimArguments& a) {
  EngineOptions o;
  o.seed = a.seed;
  if (a.model == "plus") {
    o.solarAndUv = true;
  } else if (a.model == "pro") {
    o.solarAndUv = false;
  } else {
    return bad("--model \"" + a.model + "\": expected plus or pro");
  }
  if (a.modelCode < 0 || a.modelCode > 255) return bad("--model-code: 0 to 255");
  o.modelCode = static_cast<std::uint8_t>(a.modelCode);
  switch (a.intervalMinutes) {
    case 1:
    case 5:
    case 10:
    case 15:
    case 30:
    case 60:
    case 120:
      break;
    default:
      return bad("--interval: one of 1, 5, 10, 15, 30, 60, 120 minutes");
  }
  o.archiveIntervalMinutes = a.intervalMinutes;
  if (a.historyDays < 0 || a.historyDays > 3660) return bad("--days: 0 to 3660");
  o.historyDays = a.historyDays;
  auto firmware = parseFirmwareDate(a.firmware);
  if (!firmware) return firmware.status();
  o.firmware = *firmware;
  if (!a.start.empty()) {
    auto start = parseStartTime(a.start);
    if (!start) return start.status();
    o.start = *start;
  }
  o.pace = a.pace;
  if (a.baudRate < 300 || a.baudRate > 115200) return bad("--baud: 300 to 115200");
  o.baudRate = a.baudRate;
  if (a.loopPeriodMs < 1 || a.loopPeriodMs > 60000) return bad("--loop-period: 1 to 60000 ms");
  o.loopPeriod = std::chrono::milliseconds(a.loopPeriodMs);
  if (a.disconnectSeconds < 0 || a.disconnectSeconds > 86400)
    return bad("--disconnect-seconds: 0 to 86400");
  o.disconnectFor = std::chrono::seconds(a.disconnectSeconds);
  for (const std::string& f : a.faults) {
    auto rule = parseFaultRule(f);
    if (!rule) return rule.status();
    o.faults.push_back(*rule);
  }
  return o;
}

}  // namespace consolesim
