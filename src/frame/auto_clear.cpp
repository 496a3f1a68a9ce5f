#include "frame/auto_clear.h"

#include "frame/program.h"
#include "frame/unattended_run.h"
#include "platform/string_table.h"

namespace frame {

namespace {

constexpr int kMsgClearTitle = 61678;
constexpr int kMsgClearCountDown = 61737;
constexpr int kMsgClearDone = 61739;
constexpr int kMsgClearCancelled = 61740;
constexpr int kCountDownSeconds = 10;
constexpr int kClearWindowMinutes = 10;

}  // namespace

std::uint32_t dateStamp(const platform::CivilTime& t) {
  return (static_cast<std::uint32_t>(t.year) << 16) | (static_cast<std::uint32_t>(t.month) << 8) |
         static_cast<std::uint32_t>(t.day);
}

bool autoClearDue(int clearTime, std::uint32_t lastAutoClear, const platform::CivilTime& now) {
  if (clearTime < 0) return false;
  if (lastAutoClear == dateStamp(now)) return false;
  int d = now.hour * 60 + now.minute - clearTime;
  return d >= 0 && d < kClearWindowMinutes;
}

void runAutoClearCheck(Program& program) {
  station::StationConfig* st = program.currentStation();
  if (st == nullptr || st->isCirrant() || !st->autoClearEnabled()) return;
  platform::CivilTime now = program.clock().localNow();
  int clearTime = st->autoClearTime();
  if (!autoClearDue(clearTime, st->lastAutoClear(), now)) return;

  st->setLastAutoClear(dateStamp(now));
  // Saved at once, so a restart later the same day does not offer the clear again.
  (void)program.saveCurrentStation();

  Messages& m = program.messages();
  std::string name = st->stationName();
  platform::CivilTime at;
  at.hour = clearTime / 60;
  at.minute = clearTime % 60;
  std::string text = fillText(platform::loadString(kMsgClearCountDown),
                              {formatLogTime(at, program.dateStyle()), name});
  if (!m.CountDown(platform::loadString(kMsgClearTitle), text, kCountDownSeconds)) {
    m.LogMessage(fillText(platform::loadString(kMsgClearCancelled), {name}), name);
    return;
  }
  platform::UnattendedScope unattended(program.unattended());
  platform::Status s = runClearOfCurrentStation(program);
  if (s.isOk()) {
    m.LogMessage(fillText(platform::loadString(kMsgClearDone), {name}), name);
  } else if (s.code() != 0) {
    m.LogLinkError(s.code());
  } else {
    m.LogMessage(s.message(), name);
  }
}

}  // namespace frame
