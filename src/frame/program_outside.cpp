// The running program is the one writer of its settings files, but not the only one that
// may touch them: a command run without the control socket, or an editor, may change them
// while it runs. Before it writes one, and every few seconds, the program takes in such a
// change instead of overwriting it.
#include "frame/program.h"
#include "link/station_link.h"
#include "platform/string_table.h"
#include "station/station_tree.h"

namespace frame {

namespace {

constexpr int kMsgAdoptedOutsideChange = 66307;
// Ticks of the frame timer between two looks at the files.
constexpr int kTicksBetweenOutsideChecks = 1;

// Whether two records reach the console the same way.
bool sameLink(const stationlink::PortParams& a, const stationlink::PortParams& b) {
  return a.portNumber == b.portNumber && a.baudRate == b.baudRate && a.linkType == b.linkType &&
         a.idleSeconds == b.idleSeconds && a.pulseDialling == b.pulseDialling &&
         a.modem == b.modem && a.phoneNumber == b.phoneNumber && a.modemInit == b.modemInit &&
         a.dialPauseSeconds == b.dialPauseSeconds && a.devicePath == b.devicePath;
}

std::string bytesText(std::span<const std::byte> bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

void Program::rememberSettingsOnDisk() {
  heldSettings_ = HeldFile(platform::joinPath(programDirectory_, kProgramSettingsFileName));
  auto disk = env_.files->readFile(heldSettings_.path());
  heldSettings_.remember(disk ? *disk : bytesText(settings_.bytes()));
}

void Program::rememberStationOnDisk() {
  if (!current_) {
    heldStation_ = HeldFile();
    return;
  }
  heldStation_ = HeldFile(platform::joinPath(current_->stationDir(), station::kStationFileName));
  auto disk = env_.files->readFile(heldStation_.path());
  heldStation_.remember(disk ? *disk : bytesText(current_->encodeForDisk()));
}

void Program::adoptOutsideChanges(bool logEach) {
  adoptOutsideSettings(logEach);
  adoptOutsideStation(logEach);
}

void Program::adoptOutsideSettings(bool logIt) {
  if (!started_) return;
  auto theirs = heldSettings_.changedOutside(*env_.files);
  if (!theirs) return;
  // A file of another size is not a settings record: the program's own stays, and is
  // written at the next save as the start-up would have.
  if (theirs->size() == kProgramSettingsBytes) {
    const std::string merged =
        mergeOwnChanges(heldSettings_.base(), bytesText(settings_.bytes()), *theirs);
    auto decoded = ProgramSettings::decode(std::as_bytes(std::span(merged)));
    if (decoded) {
      settings_ = *decoded;
      applySettingsAtStart();
      if (logIt) {
        (void)messages_.LogMessage(
            fillText(platform::loadString(kMsgAdoptedOutsideChange), {heldSettings_.path()}),
            currentStationName());
      }
    }
  }
  heldSettings_.remember(std::move(*theirs));
}

void Program::adoptOutsideStation(bool logIt) {
  if (!current_ || !heldStation_.held()) return;
  auto theirs = heldStation_.changedOutside(*env_.files);
  if (!theirs) return;
  const std::string& base = heldStation_.base();
  if (theirs->size() == station::StationConfig::kSize && base.size() == theirs->size()) {
    // The run-time area is never on disk; only the bytes the program has not changed
    // itself take the outside value.
    const stationlink::PortParams before = stationlink::portParamsFromStation(*current_);
    const station::StationConfig::Bytes mine = current_->encodeForDisk();
    std::span<std::byte> held = current_->mutableBytes();
    for (std::size_t i = 0; i < held.size(); ++i) {
      const auto b = static_cast<std::byte>(base[i]);
      const auto t = static_cast<std::byte>((*theirs)[i]);
      if (mine[i] == b && t != b) held[i] = t;
    }
    messages_.setStationName(current_->stationName());
    if (!sameLink(before, stationlink::portParamsFromStation(*current_))) {
      // The readings pause while the link is replaced, and start again on the new one.
      stationlink::RealtimePause pause(realtime_.get());
      stations_->relinkStation(*current_);
    }
    if (logIt) {
      (void)messages_.LogMessage(
          fillText(platform::loadString(kMsgAdoptedOutsideChange), {heldStation_.path()}),
          currentStationName());
    }
  }
  heldStation_.remember(std::move(*theirs));
}

void Program::checkOutsideChangesOnTick() {
  if (++ticksSinceOutsideCheck_ < kTicksBetweenOutsideChecks) return;
  ticksSinceOutsideCheck_ = 0;
  adoptOutsideChanges();
}

}  // namespace frame
