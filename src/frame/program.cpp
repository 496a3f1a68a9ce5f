#include "frame/program.h"

#include <iostream>
#include <ostream>

#include "frame/archive_download_runner.h"
#include "frame/auto_clear.h"
#include "frame/scheduled_download.h"
#include "frame/upload_runner.h"
#include "platform/signals.h"
#include "platform/string_table.h"
#include "platform/systemd_notify.h"

namespace frame {

namespace {

Program* gProgram = nullptr;

constexpr int kMsgProgramName = 61565;
constexpr int kMsgStationSaveFailed = 61572;
constexpr int kMsgInterrupted = 64333;

// A run ended by Ctrl-C ends as a shell expects of a program killed by SIGINT (128 + 2),
// so a script that started it can tell. SIGTERM is how a service is stopped: that run
// ends with its own exit code.
constexpr int kProgramExitInterrupted = 130;

}  // namespace

Program* currentProgram() { return gProgram; }
void setCurrentProgram(Program* program) { gProgram = program; }

Program::Program(ProgramParts parts)
    : env_(parts.env),
      programDirectory_(std::move(parts.programDirectory)),
      interactive_(parts.interactive),
      readStandardInput_(parts.readStandardInput),
      out_(parts.out),
      loop_(*env_.clock),
      guardedUi_(*parts.ui, scheduler_),
      eventLog_(*env_.files, *env_.clock, programDirectory_),
      messages_(eventLog_, guardedUi_, unattended_),
      ports_(std::make_unique<stationlink::SerialPortManager>(linkServices())),
      stations_(parts.stations ? std::move(parts.stations) : makeFileStationServices(*env_.files)),
      ownDownloads_(parts.downloads ? nullptr : std::make_unique<ArchiveDownloadRunner>(*this)),
      downloads_(parts.downloads ? parts.downloads : ownDownloads_.get()) {
  // The scheduler step's order: automatic clear, automatic download, uploads. Module
  // timer events are added behind them through scheduler().addStep.
  eventLog_.setJournal(parts.journal);
  stations_->setMessages(&messages_);
  stations_->setPortManager(ports_.get());
  realtime_ = std::make_unique<stationlink::RealtimeManager>(realtimeHost());
  scheduler_.addStep([this] { runAutoClearCheck(*this); });
  scheduler_.addStep([this] { runScheduleCheck(*this); });
  scheduler_.addStep(uploadScheduleStep(*this));
}

Program::~Program() {
  realtime_.reset();
  shellBulletin_.reset();
  if (gProgram == this) gProgram = nullptr;
}

std::string Program::currentStationName() const {
  return current_ ? current_->stationName() : std::string();
}

std::string Program::currentStationDir() const {
  return current_ ? current_->stationDir() : std::string();
}

std::string Program::currentTitle() const {
  return formatTitleLine(platform::loadString(kMsgProgramName), env_.clock->localNow(),
                         conventions_.intl, currentStationName());
}

stationlink::LinkServices Program::linkServices() {
  stationlink::LinkServices services;
  services.opener = env_.serialPorts;
  services.clock = env_.clock;
  services.reportLine = [this](std::string_view source, std::string_view line) {
    (void)messages_.LogMessage(line, source);
  };
  return services;
}

void Program::tick() {
  ports_->tick();
  title_.update(currentTitle());
  scheduler_.tick();
}

void Program::postExit() {
  loop_.post([this] { loop_.stop(); });
}

int Program::run(const CommandLineSwitches& switches) {
  setCurrentProgram(this);
  platform::ServiceNotifier notifier;
  loop_.handleTerminationSignals([this](int signalNumber) {
    if (signalNumber == platform::SignalPipe::interruptSignal()) {
      exitCode_ = kProgramExitInterrupted;
      // On a new line: the ^C the terminal echoed may stand after a prompt.
      std::ostream& o = out_ != nullptr ? *out_ : std::cerr;
      o << '\n' << platform::loadString(kMsgInterrupted) << '\n' << std::flush;
    }
    // A long job polls the cancel flag through the loop's pump; the exit command then
    // runs the shutdown order once the job has unwound.
    loop_.requestCancel();
    postExit();
  });
  if (!interactive_) {
    title_.setSink([&notifier](const std::string& t) { notifier.status(t); });
  } else if (out_ != nullptr) {
    // The terminal's title bar is the status line: it never mixes with typed commands.
    title_.setSink(
        [this](const std::string& t) { *out_ << "\033]0;" << t << "\007" << std::flush; });
  }
  if (start(switches)) {
    notifier.ready();
    if (auto period = notifier.watchdogPeriod()) {
      loop_.addTimer(*period, [&notifier, period]() -> std::optional<std::chrono::milliseconds> {
        notifier.watchdog();
        return *period;
      });
      // A long download runs no timers; its pumps keep the watchdog fed instead.
      platform::Instant lastFed = env_.clock->now();
      loop_.setPumpHook([this, &notifier, period, lastFed]() mutable {
        if (env_.clock->now() - lastFed < *period) return;
        lastFed = env_.clock->now();
        notifier.watchdog();
      });
    }
    loop_.run();
    loop_.setPumpHook({});
  }
  notifier.stopping();
  shutdown();
  title_.setSink({});
  setCurrentProgram(nullptr);
  return exitCode_;
}

void Program::shutdown() {
  if (shutDown_ || !started_) return;
  shutDown_ = true;
  // The timer and the port manager stop before anything is saved, so no
  // scheduled action can start half-way through the shutdown.
  if (frameTimer_) loop_.removeTimer(*frameTimer_);
  frameTimer_.reset();
  loop_.unwatch(platform::kStandardInput);
  realtime_->Stop();
  stations_->stopPortManager();
  // The modules and other shutdown hooks, then the settings and the station.
  for (auto& hook : shutdownHooks_) hook(*this);
  (void)saveProgramSettingsAtExit(settings_, *env_.files, programDirectory_, messages_);
  if (current_) {
    if (!stations_->saveStation(*current_).isOk())
      messages_.ReportError(kMsgStationSaveFailed, currentStationName());
    stations_->closeStation();
  }
}

platform::Status Program::saveCurrentStation() {
  if (!current_) return platform::Status::ok();
  return stations_->saveStation(*current_);
}

DownloadResult Program::downloadCurrentStation(
    std::function<void(int, int)> progress, std::function<void(const DownloadResult&)> logResult) {
  DownloadResult result;
  if (!current_) {
    result.status = platform::Status::notFound("no station is open");
    return result;
  }
  DownloadRequest request;
  request.config = &*current_;
  request.cancelled = [this] { return loop_.pump(); };
  request.progress = std::move(progress);
  request.logResult = std::move(logResult);
  return downloads_->download(request);
}

}  // namespace frame
