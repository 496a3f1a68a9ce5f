#include "frame/scheduled_download.h"

#include <chrono>

#include "frame/link_error_table.h"
#include "frame/program.h"
#include "platform/string_table.h"
#include "station/schedule.h"
#include "station/text_encoding.h"

namespace frame {

namespace {

constexpr int kMsgListUnreadable = 61729;
constexpr int kMsgDownloadTitle = 61730;
constexpr int kMsgStationUnreadable = 61732;
constexpr int kMsgDownloadCountDown = 61733;
constexpr int kMsgDownloadCancelled = 61734;
constexpr int kMsgDownloaded = 61736;
constexpr int kCountDownSeconds = 10;
constexpr std::chrono::milliseconds kWaitBeforeDownload{250};

void downloadOne(Program& program, const std::string& dir, const std::string& timeText) {
  Messages& m = program.messages();
  station::StationConfig* current = program.currentStation();
  bool isCurrent = current != nullptr && dir == current->stationDir();
  std::optional<station::StationConfig> other;
  station::StationConfig* config = current;
  if (!isCurrent) {
    auto read = program.stations().readStation(dir);
    if (!read) {
      m.LogMessage(
          fillText(platform::loadString(kMsgStationUnreadable), {station::toValidUtf8(dir)}),
          program.currentStationName());
      return;
    }
    other = std::move(*read);
    config = &*other;
  }
  std::string name = config->stationName();
  std::string cancelled = fillText(platform::loadString(kMsgDownloadCancelled), {name});
  std::string text = fillText(platform::loadString(kMsgDownloadCountDown), {timeText, name});
  if (!m.CountDown(platform::loadString(kMsgDownloadTitle), text, kCountDownSeconds)) {
    m.LogMessage(cancelled, name);
    return;
  }
  program.clock().sleepFor(kWaitBeforeDownload);
  // The current readings stop before the link is given up, so the console is quiet for
  // the download; they go on when the station's run is over.
  stationlink::RealtimePause pause(&program.realtime());
  // Two links on one port would fight over it; the current station gives its link up
  // and gets it back when the run is over.
  if (!isCurrent && current != nullptr && config->comPort() == current->comPort()) {
    program.stations().closeLink();
  }
  platform::UnattendedScope unattended(program.unattended());
  DownloadRequest request;
  request.config = config;
  request.cancelled = [&program] { return program.loop().pump(); };
  // The download logs this result line, and the count of records stored after it.
  request.logResult = [&m, &name, &cancelled](const DownloadResult& result) {
    if (result.ok()) {
      m.LogMessage(fillText(platform::loadString(kMsgDownloaded), {name}), name);
      return;
    }
    if (result.linkError != 0) {
      if (!result.linkErrorReported) m.LogMessage(linkErrorText(result.linkError), name);
    } else if (!result.status.isOk()) {
      m.LogMessage(result.status.message(), name);
    }
    m.LogMessage(cancelled, name);
  };
  (void)program.downloads()->download(request);
}

}  // namespace

void runScheduleCheck(Program& program) {
  if (!program.settings().autoDownloadEnabled()) return;
  station::DownloadSchedule schedule = program.schedule();
  platform::CivilTime now = program.clock().localNow();
  std::optional<int> hour = station::checkSchedule(schedule, now.hour * 60 + now.minute);
  program.storeSchedule(schedule);
  if (hour) runScheduledDownload(program, *hour);
}

void runScheduledDownload(Program& program, int hour) {
  auto finish = [&program, hour] {
    station::DownloadSchedule s = program.schedule();
    s.lastScheduledHour = hour;
    program.storeSchedule(s);
  };
  auto list = station::readDownloadList(program.files(), program.programDirectory());
  if (!list) {
    program.messages().LogMessageId(kMsgListUnreadable, program.currentStationName());
    finish();
    return;
  }
  (void)program.saveCurrentStation();
  platform::CivilTime at;
  at.hour = hour;
  at.minute = program.schedule().offsetMinutes;
  std::string timeText = formatLogTime(at, program.dateStyle());
  for (const std::string& dir : station::orderForRun(*list, program.currentStationDir())) {
    downloadOne(program, dir, timeText);
    if (program.loop().cancelRequested()) break;
  }
  program.stations().reopenAfterScheduledRun();
  finish();
}

}  // namespace frame
