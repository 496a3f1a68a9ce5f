// The Program's station and schedule operations: open, close, list, create, delete, and
// the automatic-download choice.
#include "frame/program.h"
#include "frame/station_admin.h"
#include "platform/string_table.h"
#include "station/leap_year_notice.h"

namespace frame {

namespace {

constexpr int kMsgConfirmDelete = 64206;
constexpr int kMsgCannotDeleteFile = 64209;
constexpr int kMsgCannotDeleteDir = 64210;
constexpr int kMsgDeleteTitle = 64218;

// The frame's leap-year notice command: shown once in a run, and only in the days around
// 1 March; the record at 920 says it was shown, so later opens leave it alone.
void showLeapYearNotice(Program& program) {
  ProgramSettings& settings = program.settings();
  if (settings.leapYearNoticeShown()) return;
  const platform::CivilTime today = program.clock().localNow();
  if (!station::leapYearNoticeDue(today.year, today.month, today.day)) return;
  program.ui().showTextFile(
      platform::loadString(station::kLeapYearNoticeTitle),
      platform::joinPath(program.programDirectory(), station::kLeapYearNoticeFile));
  settings.setLeapYearNoticeShown(true);
}

}  // namespace

platform::Status Program::openStation(const std::string& dir) {
  closeStation();
  auto opened = stations_->openStation(dir);
  // The open sequence shows its own messages.
  if (!opened) return opened.status();
  current_ = std::move(*opened);
  rememberStationOnDisk();
  settings_.setLastStationDirectory(dir);
  passwordAccepted_ = false;
  messages_.setStationName(current_->stationName());
  if (started_) title_.update(currentTitle());
  // The older consoles get the notice once the open is over, as a posted command.
  if (!current_->isCirrant() && !settings_.leapYearNoticeShown()) {
    loop_.post([this] { showLeapYearNotice(*this); });
  }
  return platform::Status::ok();
}

void Program::closeStation() {
  if (!current_) return;
  realtime_->Stop();
  (void)saveCurrentStation();
  stations_->closeStation();
  current_.reset();
  rememberStationOnDisk();
  messages_.setStationName({});
}

platform::Result<std::vector<station::StationEntry>> Program::listStations(
    const std::string& parent) {
  return listStationsIn(*stations_, *env_.files, parent.empty() ? programDirectory_ : parent);
}

platform::Result<std::string> Program::createStation(const std::string& name,
                                                     const std::string& parent) {
  auto dir = stations_->createStation(name, parent.empty() ? programDirectory_ : parent);
  if (!dir) return dir.status();
  if (platform::Status s = openStation(*dir); !s.isOk()) return s;
  return dir;
}

platform::Status Program::deleteStation(const std::string& dir, bool alreadyConfirmed) {
  auto name = stations_->stationName(dir);
  std::string shown = name ? *name : dir;
  if (!alreadyConfirmed &&
      !guardedUi_.question(platform::loadString(kMsgDeleteTitle),
                           fillText(platform::loadString(kMsgConfirmDelete), {shown}))) {
    return platform::Status::cancelled("deletion of " + dir + " not confirmed");
  }
  if (platform::Status s = station::removeFromDownloadList(*env_.files, programDirectory_, dir);
      !s.isOk()) {
    return s;
  }
  bool wasCurrent = current_ && current_->stationDir() == dir;
  if (wasCurrent) {
    // Closed without saving: the record is about to go, and a save would recreate it.
    stations_->closeStation();
    current_.reset();
    messages_.setStationName({});
    if (settings_.lastStationDirectory() == dir) settings_.setLastStationDirectory({});
  }
  std::string failed;
  platform::Status s = station::deleteStationDirectory(*env_.files, dir, &failed);
  if (!s.isOk()) {
    int id = failed == dir ? kMsgCannotDeleteDir : kMsgCannotDeleteFile;
    messages_.ShowErrorText(fillText(platform::loadString(id), {failed}));
  }
  if (wasCurrent && interactive_) loop_.post([this] { (void)chooseAndOpenStation(*this); });
  return s;
}

station::DownloadSchedule Program::schedule() const { return scheduleFromSettings(settings_); }

void Program::storeSchedule(const station::DownloadSchedule& s) {
  storeScheduleInSettings(s, settings_);
}

platform::Status Program::saveAutoDownload(const std::vector<std::string>& stationDirs,
                                           const std::array<bool, 24>& hours, int offsetMinutes) {
  adoptOutsideSettings();
  platform::Status s = applyAutoDownload(*env_.files, programDirectory_, settings_, stationDirs,
                                         hours, offsetMinutes);
  rememberSettingsOnDisk();
  return s;
}

}  // namespace frame
