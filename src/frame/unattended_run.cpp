#include "frame/unattended_run.h"

#include <chrono>

#include "frame/clear_procedure.h"
#include "frame/program.h"
#include "platform/string_table.h"

namespace frame {

namespace {

constexpr int kMsgLeapInstructions = 60025;
constexpr int kMsgLeapDisabled = 60024;
constexpr int kMsgClearNotOnCirrant = 61014;
constexpr int kMsgClearUnavailable = 64302;
constexpr int kMsgDownloadOk = 61868;
constexpr int kMsgDownloadFailed = 61869;
constexpr int kMsgClearFailed = 61870;
constexpr int kMsgClearOk = 61871;

int runDownloadSwitch(Program& program) {
  Messages& m = program.messages();
  std::string name = program.currentStationName();
  platform::UnattendedScope unattended(program.unattended());
  // The download logs this result line, and the count of records stored after it.
  bool logged = false;
  auto logResult = [&m, &name, &logged](const DownloadResult& result) {
    logged = true;
    if (result.ok()) {
      m.LogMessageId(kMsgDownloadOk, name);
      return;
    }
    if (result.linkError != 0) {
      if (!result.linkErrorReported) m.LogLinkError(result.linkError);
    } else {
      m.LogMessage(result.status.message(), name);
    }
    m.LogMessageId(kMsgDownloadFailed, name);
  };
  DownloadResult result = program.downloadCurrentStation({}, logResult);
  if (!logged) logResult(result);
  return result.ok() ? kProgramExitOk : kProgramExitFailed;
}

}  // namespace

bool leapDayGuardApplies(Program& program) {
  const station::StationConfig* st = program.currentStation();
  if (st == nullptr || st->isCirrant()) return false;
  platform::CivilTime today = program.clock().localNow();
  return today.month == 2 && today.day == 29;
}

platform::Status runClearOfCurrentStation(Program& program) {
  station::StationConfig* st = program.currentStation();
  ClearOperations* console = program.stations().clearOperations();
  if (st == nullptr || console == nullptr) {
    return platform::Status::unsupported(platform::loadString(kMsgClearUnavailable));
  }
  std::array<std::uint8_t, 8> items{};
  for (std::size_t i = 0; i < items.size(); ++i) items[i] = st->autoClearItems(i);
  return runClearProcedure(items, *console);
}

int RunCommandLineSwitch(Program& program, const CommandLineSwitches& switches) {
  Messages& m = program.messages();
  std::string name = program.currentStationName();
  if (leapDayGuardApplies(program)) {
    m.LogMessageId(kMsgLeapInstructions, name);
    m.LogMessageId(kMsgLeapDisabled, name);
    return kProgramExitFailed;
  }
  int code = kProgramExitOk;
  if (switches.download) code = runDownloadSwitch(program);
  if (switches.clear) {
    station::StationConfig* st = program.currentStation();
    if (st != nullptr && st->isCirrant()) {
      m.LogMessageId(kMsgClearNotOnCirrant, name);
      return kProgramExitFailed;
    }
    platform::UnattendedScope unattended(program.unattended());
    program.clock().sleepFor(std::chrono::seconds(1));
    platform::Status s = runClearOfCurrentStation(program);
    if (s.isOk()) {
      m.LogMessageId(kMsgClearOk, name);
    } else {
      if (s.code() != 0)
        m.LogLinkError(s.code());
      else
        m.LogMessage(s.message(), name);
      m.LogMessageId(kMsgClearFailed, name);
      code = kProgramExitFailed;
    }
  }
  return code;
}

}  // namespace frame
