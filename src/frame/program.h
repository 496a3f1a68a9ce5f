#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame/command_line_switches.h"
#include "frame/current_follow.h"
#include "frame/dialog_guard.h"
#include "frame/download_runner.h"
#include "frame/event_log.h"
#include "frame/messages.h"
#include "frame/outside_changes.h"
#include "frame/program_settings.h"
#include "frame/scheduler.h"
#include "frame/station_services.h"
#include "frame/title_line.h"
#include "link/realtime_manager.h"
#include "link/serial_port_manager.h"
#include "platform/env.h"
#include "platform/event_loop.h"
#include "platform/status.h"
#include "platform/user_interface.h"
#include "quantities/user_conventions.h"
#include "station/schedule.h"
#include "station/station_config.h"
#include "station/station_list.h"

namespace frame {

// What main, or a test, hands to the program.
struct ProgramParts {
  platform::Env env;
  // The person's side: terminal, headless or scripted. Must outlive the Program.
  platform::UserInterface* ui = nullptr;
  // Station open sequence, database and link; null gives the file-only services.
  std::unique_ptr<StationServices> stations;
  // The archive download; null for the program's own (ArchiveDownloadRunner), which
  // uses the Program's port manager and the open station's database.
  DownloadRunner* downloads = nullptr;
  // The directory that was current at start: progdata.dat, download.log, download.lst.
  std::string programDirectory;
  // A person at a terminal: typed commands are read and the title is shown.
  bool interactive = false;
  // Where the interactive title line and the shell's answers go; may be null.
  std::ostream* out = nullptr;
  // An interactive program reads typed commands from standard input; tests turn it off.
  bool readStandardInput = true;
  // Where every event-log line is also written (see EventLog::setJournal); may be null.
  std::ostream* journal = nullptr;
};

// Exit codes of a run.
inline constexpr int kProgramExitOk = 0;
inline constexpr int kProgramExitFailed = 1;

// The one object that owns what is program-wide: the program settings, the current
// station with its database and rain database (through the station services), the
// serial-port manager, the archive download, the schedules, the event log and messages,
// the user interface and the event loop. main creates it; nothing else is global except
// the pointer exported C functions use (currentProgram).
class Program {
 public:
  explicit Program(ProgramParts parts);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Start-up, main loop and shutdown. Returns the exit code.
  int run(const CommandLineSwitches& switches);
  // Start-up in order (settings, units, port manager, station, timer, unattended switch).
  // False when the program must end at once; exitCode() says how.
  bool start(const CommandLineSwitches& switches);
  // For a one-off command: settings, units and port manager as at start-up, then the
  // station in `stationDir` (none when empty). No timer, no shell, no unattended switch.
  platform::Status startForCommand(const std::string& stationDir);
  // The one-second frame timer: title line, then the scheduler step.
  void tick();
  // Posts the exit command: the loop ends after the current pass, then shutdown runs.
  void postExit();
  // The shutdown order: port manager stopped, last download hour cleared, modules
  // unloaded, progdata.dat saved, station saved, rain database closed. Runs once.
  void shutdown();

  // Hooks for the modules and publishing: run at start-up once the port manager is up, at shutdown
  // before the settings are saved.
  void addStartHook(std::function<void(Program&)> hook) { startHooks_.push_back(std::move(hook)); }
  void addShutdownHook(std::function<void(Program&)> hook) {
    shutdownHooks_.push_back(std::move(hook));
  }

  // --- Stations ---
  station::StationConfig* currentStation() { return current_ ? &*current_ : nullptr; }
  std::string currentStationName() const;
  std::string currentStationDir() const;
  // The open sequence: the current station is closed first; on success the station is
  // recorded as the last one and the password must be entered again.
  platform::Status openStation(const std::string& dir);
  // Saves and closes the current station; the program is then without one.
  void closeStation();
  platform::Status saveCurrentStation();
  // The stations below `parent` (the program directory when empty).
  platform::Result<std::vector<station::StationEntry>> listStations(const std::string& parent = {});
  // A new station named `name` below `parent`, then opened. Returns its directory.
  platform::Result<std::string> createStation(const std::string& name, const std::string& parent);
  // Removes a station from download.lst and from disk after the user confirms; an
  // `alreadyConfirmed` deletion (the command line's --yes) does not ask.
  platform::Status deleteStation(const std::string& dir, bool alreadyConfirmed = false);

  // --- Schedule ---
  station::DownloadSchedule schedule() const;
  void storeSchedule(const station::DownloadSchedule& s);
  // Saves the auto-download choice: download.lst, then hours and offset, then settings.
  platform::Status saveAutoDownload(const std::vector<std::string>& stationDirs,
                                    const std::array<bool, 24>& hours, int offsetMinutes);
  // The download of the current station, as the user's command runs it; `progress` is told
  // the pages done after every good page (may be empty).
  // `logResult` logs the caller's result line (DownloadRequest::logResult).
  DownloadResult downloadCurrentStation(
      std::function<void(int done, int total)> progress = {},
      std::function<void(const DownloadResult& result)> logResult = {});

  // Takes in what someone else (a command, an editor) changed in progdata.dat or the open
  // station's STATION.CFG since the program read or wrote them, keeping the program's own
  // pending changes on top; one log line for each file taken in (none with `logEach` off,
  // for what a client's command wrote). Runs before every save, every few seconds, and after
  // a command a client had the program run.
  void adoptOutsideChanges(bool logEach = true);
  // After the program itself wrote part of the open station's STATION.CFG in place (the
  // update bookkeeping): the file as it is now is the program's, not an outside change.
  void stationFileWrittenInPlace() { rememberStationOnDisk(); }

  // --- Program-wide state ---
  platform::Env& env() { return env_; }
  platform::FileSystem& files() { return *env_.files; }
  platform::Clock& clock() { return *env_.clock; }
  platform::EventLoop& loop() { return loop_; }
  Scheduler& scheduler() { return scheduler_; }
  platform::UserInterface& ui() { return guardedUi_; }
  Messages& messages() { return messages_; }
  EventLog& eventLog() { return eventLog_; }
  ProgramSettings& settings() { return settings_; }
  platform::UnattendedFlag& unattended() { return unattended_; }
  StationServices& stations() { return *stations_; }
  DownloadRunner* downloads() { return downloads_; }
  // The program's one serial-port manager: every console link lives in it.
  stationlink::SerialPortManager& ports() { return *ports_; }
  quantities::Units& units() { return conventions_.units; }
  // The user's units and date conventions, read once at start.
  const quantities::UserConventions& conventions() const { return conventions_; }
  // The current readings of the open station's console while real-time views are open.
  stationlink::RealtimeManager& realtime() { return *realtime_; }
  // The bulletin a person at the terminal has open (null when none).
  std::unique_ptr<BulletinView>& shellBulletin() { return shellBulletin_; }
  TitleLine& title() { return title_; }
  const platform::IntlSettings& dateStyle() const { return conventions_.intl; }
  const std::string& programDirectory() const { return programDirectory_; }
  bool interactive() const { return interactive_; }
  std::ostream* out() { return out_; }
  const CommandLineSwitches& switches() const { return switches_; }
  bool& passwordAccepted() { return passwordAccepted_; }
  // Optional system facilities: dial-up networking does not exist here; sockets do.
  bool dialUpAvailable() const { return false; }
  bool socketsAvailable() const { return true; }

  int exitCode() const { return exitCode_; }
  void setExitCode(int code) { exitCode_ = code; }

 private:
  void applySettingsAtStart();
  stationlink::LinkServices linkServices();
  stationlink::RealtimeHost realtimeHost();
  std::string currentTitle() const;
  void rememberSettingsOnDisk();
  void rememberStationOnDisk();
  void adoptOutsideSettings(bool logIt = true);
  void adoptOutsideStation(bool logIt = true);
  void checkOutsideChangesOnTick();

  platform::Env env_;
  std::string programDirectory_;
  bool interactive_;
  bool readStandardInput_;
  std::ostream* out_;
  platform::EventLoop loop_;
  Scheduler scheduler_;
  platform::UnattendedFlag unattended_;
  SchedulingAwareUserInterface guardedUi_;
  EventLog eventLog_;
  Messages messages_;
  ProgramSettings settings_;
  quantities::UserConventions conventions_;
  std::unique_ptr<stationlink::SerialPortManager> ports_;
  std::unique_ptr<StationServices> stations_;
  std::unique_ptr<DownloadRunner> ownDownloads_;
  DownloadRunner* downloads_;
  TitleLine title_;
  CommandLineSwitches switches_;
  std::optional<station::StationConfig> current_;
  // progdata.dat and the open station's STATION.CFG as last read or written.
  HeldFile heldSettings_;
  HeldFile heldStation_;
  int ticksSinceOutsideCheck_ = 0;
  bool passwordAccepted_ = false;
  bool shutDown_ = false;
  bool started_ = false;
  int exitCode_ = kProgramExitOk;
  std::optional<platform::EventLoop::TimerId> frameTimer_;
  std::optional<platform::EventLoop::TimerId> realtimeTimer_;
  std::unique_ptr<stationlink::RealtimeManager> realtime_;
  std::unique_ptr<BulletinView> shellBulletin_;
  std::vector<std::function<void(Program&)>> startHooks_;
  std::vector<std::function<void(Program&)>> shutdownHooks_;
};

// The program that exported C functions reach; set while a Program runs.
Program* currentProgram();
void setCurrentProgram(Program* program);

}  // namespace frame
