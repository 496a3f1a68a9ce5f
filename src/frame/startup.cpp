#include "frame/startup.h"

#include "frame/interactive_shell.h"
#include "frame/program.h"
#include "frame/unattended_run.h"
#include "frame/user_conventions.h"
#include "platform/intl_settings.h"
#include "platform/string_table.h"

namespace frame {

namespace {

constexpr int kMsgPortManagerFailed = 61466;
constexpr int kMsgWelcomeCreateStation = 61470;
constexpr int kMsgCommandLineStation = 61595;
constexpr int kMsgTimerFailed = 61867;
constexpr int kMsgChooseStationTitle = 64201;  // "Abrir estación"
constexpr int kMsgNewStationTitle = 64202;     // "Nueva Estación"
constexpr int kMsgStationNamePrompt = 64203;

constexpr std::chrono::milliseconds kFrameTimerPeriod{1000};

}  // namespace

std::optional<std::string> chooseStationAtStart(Program& program,
                                                const CommandLineSwitches& switches) {
  std::string last = program.settings().lastStationDirectory();
  bool lastUsable = !last.empty() && program.stations().stationName(last).has_value();
  auto below = program.listStations(program.programDirectory());
  std::vector<station::StationEntry> stations =
      below ? *below : std::vector<station::StationEntry>{};

  if (switches.anyStationSwitch()) {
    if (switches.stationName) {
      return resolveStationName(*switches.stationName, program.programDirectory());
    }
    if (lastUsable) return last;
    if (stations.size() == 1) return stations.front().directory;
    return std::string();  // no station: the caller reports 61595
  }
  if (lastUsable) return last;
  if (stations.size() == 1) return stations.front().directory;
  if (stations.empty()) {
    if (!program.messages().AskId(kMsgWelcomeCreateStation)) return std::nullopt;
    auto name = program.ui().enterText(platform::loadString(kMsgNewStationTitle),
                                       platform::loadString(kMsgStationNamePrompt), "");
    if (!name) return std::nullopt;
    // createStation opens the new station itself.
    (void)program.createStation(*name, program.programDirectory());
    return std::nullopt;
  }
  std::vector<std::string> names;
  for (const auto& s : stations) names.push_back(s.name);
  auto pick = program.ui().choose(platform::loadString(kMsgChooseStationTitle),
                                  platform::loadString(kMsgChooseStationTitle), names);
  if (!pick || *pick >= stations.size()) return std::nullopt;
  return stations[*pick].directory;
}

bool Program::start(const CommandLineSwitches& switches) {
  switches_ = switches;
  // The program settings, with the program directory stored in them.
  auto loaded = loadProgramSettingsAtStart(*env_.files, programDirectory_, messages_);
  if (!loaded) {
    exitCode_ = kProgramExitFailed;
    return false;
  }
  settings_ = *loaded;
  started_ = true;
  rememberSettingsOnDisk();
  // The user's date conventions and display units.
  applySettingsAtStart();
  // The serial-port manager.
  if (!stations_->startPortManager().isOk()) messages_.ShowError(kMsgPortManagerFailed);
  // The modules and the other start hooks.
  for (auto& hook : startHooks_) hook(*this);

  // The station to open: the one named on the command line, or the one chosen.
  CommandLineSwitches effective = switches;
  std::optional<std::string> dir = chooseStationAtStart(*this, switches);
  if (switches.anyStationSwitch()) {
    bool opened = dir && !dir->empty() && openStation(*dir).isOk();
    if (!opened) {
      std::string shown = switches.stationName ? *switches.stationName : std::string();
      std::string text = fillText(platform::loadString(kMsgCommandLineStation), {shown});
      messages_.ShowErrorText(text);
      if (switches.unattended() && !interactive_) messages_.LogMessage(text, shown);
      effective.download = false;
      effective.clear = false;
      // Nobody would ever close a headless run that stays open after a failed "-d" or
      // "-c": it ends with a failure so cron and the service manager can tell.
      if (switches.unattended() && !interactive_) {
        exitCode_ = kProgramExitFailed;
        return false;
      }
    }
  } else if (dir && !dir->empty()) {
    (void)openStation(*dir);
  }

  // The one-second frame timer.
  frameTimer_ =
      loop_.addTimer(kFrameTimerPeriod, [this]() -> std::optional<std::chrono::milliseconds> {
        tick();
        return kFrameTimerPeriod;
      });
  if (!frameTimer_) messages_.ShowError(kMsgTimerFailed);
  title_.update(currentTitle());

  // Unattended work (-d, -c) runs once the loop runs, then posts the exit command.
  if (effective.unattended()) {
    loop_.post([this, effective] {
      exitCode_ = RunCommandLineSwitch(*this, effective);
      postExit();
    });
  } else if (interactive_ && readStandardInput_) {
    startInteractiveShell(*this);
  }
  return true;
}

platform::Status Program::startForCommand(const std::string& stationDir) {
  auto loaded = loadProgramSettingsAtStart(*env_.files, programDirectory_, messages_);
  if (!loaded) {
    exitCode_ = kProgramExitFailed;
    return loaded.status();
  }
  settings_ = *loaded;
  started_ = true;
  rememberSettingsOnDisk();
  applySettingsAtStart();
  if (platform::Status s = stations_->startPortManager(); !s.isOk()) return s;
  if (stationDir.empty()) return platform::Status::ok();
  return openStation(stationDir);
}

void Program::applySettingsAtStart() {
  conventions_ = conventionsFrom(settings_, *env_.files, programDirectory_);
  eventLog_.setDateStyle(conventions_.intl);
}

}  // namespace frame
