#include "link/realtime_manager.h"

#include <algorithm>
#include <string>
#include <utility>

#include "link/loop_packet.h"
#include "platform/string_table.h"

namespace stationlink {

namespace {

constexpr int kStartFailedText = 60501;  // "Fallo en el Boletín al iniciar %d."
constexpr int kLoopCrcText = 60502;
constexpr int kLoopHeaderText = 60503;
constexpr int kConnectionLostText = 60504;
constexpr int kErrorTitle = 61863;  // "Error"

constexpr int kSuspendWaitMs = 2000;
constexpr int kResumeWaitMs = 100;

std::string startFailedText(int code) {
  std::string text = platform::loadString(kStartFailedText);
  const std::size_t at = text.find("%d");
  if (at != std::string::npos) text.replace(at, 2, std::to_string(code));
  return text;
}

}  // namespace

RealtimeManager::RealtimeManager(RealtimeHost host) : host_(std::move(host)) {}

RealtimeManager::~RealtimeManager() {
  if (running_ && host_.timer) host_.timer(false);
}

void RealtimeManager::openView(RealtimeView* view) {
  if (view == nullptr || std::find(views_.begin(), views_.end(), view) != views_.end()) return;
  views_.push_back(view);
  firstStepPending_ = true;
  if (!running_) Start();
}

void RealtimeManager::closeView(RealtimeView* view) {
  auto it = std::find(views_.begin(), views_.end(), view);
  if (it == views_.end()) return;
  views_.erase(it);
  if (views_.empty() && running_) Stop();
}

void RealtimeManager::Start() {
  if (running_) return;
  running_ = true;
  suspended_ = false;
  connectionLost_ = false;
  packetThisSession_ = false;
  packetsPerRequest_ = kPacketsPerRequest;
  received_ = packetsPerRequest_;
  failedRequests_ = 0;
  failedSteps_ = 0;
  windHistory_.clear();
  if (host_.timer) host_.timer(true);
}

void RealtimeManager::Stop() {
  if (!running_) return;
  stopStreaming();
  running_ = false;
  suspended_ = false;
  if (host_.timer) host_.timer(false);
  closeAllViews();
}

void RealtimeManager::Suspend() {
  suspended_ = true;
  // A link whose port is closed has no packets coming: nothing to stop or wait for.
  if (ConsoleLink* link = openLink()) {
    (void)link->StopLoop();
    link->wait(kSuspendWaitMs);
  }
}

void RealtimeManager::Resume() {
  if (ConsoleLink* link = openLink()) {
    (void)link->StopLoop();
    link->wait(kResumeWaitMs);
  }
  suspended_ = false;
  forceNewRequest();
}

void RealtimeManager::tick() {
  if (!running_ || connectionLost_ || views_.empty()) return;
  Poll();
}

void RealtimeManager::Poll() {
  if (busy_) return;
  if (suspended_ && !firstStepPending_) return;
  busy_ = true;
  newData_ = false;
  ConsoleLink* link = host_.link ? host_.link() : nullptr;
  const Step step = runStep(link);
  if (step == Step::kFailed) {
    stepFailed(link);
  } else {
    if (newData_) {
      for (RealtimeView* v : std::vector<RealtimeView*>(views_)) v->refresh();
      if (alarmCondition() && host_.beep && !(host_.alarmsSilenced && host_.alarmsSilenced())) {
        host_.beep();
      }
    }
    failedSteps_ = 0;
  }
  busy_ = false;
}

RealtimeManager::Step RealtimeManager::runStep(ConsoleLink* link) {
  const bool first = firstStepPending_;
  firstStepPending_ = false;
  if (link == nullptr) return Step::kFailed;
  if (first || packetsPerRequest_ < 2) return singleReading(*link);
  if (received_ >= packetsPerRequest_) return renewRequest(*link);
  return readPacket(*link);
}

RealtimeManager::Step RealtimeManager::singleReading(ConsoleLink& link) {
  SensorImage image = resetSensorImage();
  const bool read = link.GetSensorImage(image).isOk();
  if (read) packetArrived(image);
  // The single request has ended either way: the next step asks for a stream of packets,
  // whose failures are the ones counted towards a lost connection.
  forceNewRequest();
  return read ? Step::kData : Step::kNoData;
}

RealtimeManager::Step RealtimeManager::renewRequest(ConsoleLink& link) {
  if (link.StartLoop(packetsPerRequest_)) {
    received_ = 0;
    failedRequests_ = 0;
    stamp_ = host_.clock->now();
    return Step::kNoData;
  }
  if (++failedRequests_ == kRequestFailureLimit) {
    const std::string text = startFailedText(link.lastError());
    log(text);
    if (!packetThisSession_ && host_.show) host_.show(platform::loadString(kErrorTitle), text);
  }
  return Step::kFailed;
}

RealtimeManager::Step RealtimeManager::readPacket(ConsoleLink& link) {
  SensorImage image = resetSensorImage();
  platform::Result<int> answer = link.ReadLoopPacket(image);
  const int code = answer ? *answer : answer.status().code();
  switch (code) {
    case kLoopDecoded:
      ++received_;
      packetArrived(image);
      return Step::kData;
    case kLoopCrcError:
      log(platform::loadString(kLoopCrcText));
      stamp_ = host_.clock->now();
      forceNewRequest();
      (void)link.StopLoop();
      return Step::kNoData;
    case kLoopBadHeader:
      log(platform::loadString(kLoopHeaderText));
      return Step::kNoData;
    default:  // incomplete, a failed read, or a closed port
      if (host_.clock->now() - stamp_ >= kSilenceLimit) {
        forceNewRequest();
        (void)link.StopLoop();
      }
      return Step::kNoData;
  }
}

void RealtimeManager::packetArrived(const SensorImage& image) {
  latest_ = image;
  newData_ = true;
  packetThisSession_ = true;
  stamp_ = host_.clock->now();
  windHistory_.offer(image, stamp_);
  for (RealtimeView* v : std::vector<RealtimeView*>(views_)) v->update(image);
}

void RealtimeManager::stepFailed(ConsoleLink* link) {
  ++failedSteps_;
  if (failedSteps_ <= kFailedStepLimit || suspended_) return;
  if (link != nullptr && link->Ping()) return;
  connectionLost_ = true;
  const std::string text = platform::loadString(kConnectionLostText);
  log(text);
  if (host_.show) host_.show(platform::loadString(kErrorTitle), text);
  closeAllViews();
}

void RealtimeManager::closeAllViews() {
  std::vector<RealtimeView*> views;
  views.swap(views_);
  for (RealtimeView* v : views) v->closed();
}

void RealtimeManager::stopStreaming() {
  if (ConsoleLink* link = openLink()) (void)link->StopLoop();
}

ConsoleLink* RealtimeManager::openLink() {
  ConsoleLink* link = host_.link ? host_.link() : nullptr;
  return link != nullptr && link->port() != nullptr ? link : nullptr;
}

void RealtimeManager::log(std::string_view line) {
  if (host_.log) host_.log(line);
}

bool RealtimeManager::alarmCondition() const {
  if (!latest_) return false;
  const SensorImage& s = *latest_;
  if (s.insideAlarms != 0 || s.rainAlarms != 0 || s.outsideAlarms != 0) return true;
  const auto set = [](std::uint8_t b) { return b != 0; };
  return std::any_of(s.extraAlarms.begin(), s.extraAlarms.end(), set) ||
         std::any_of(s.soilLeafAlarms.begin(), s.soilLeafAlarms.end(), set);
}

RealtimePause::RealtimePause(RealtimeManager* manager) {
  if (manager == nullptr || !manager->running() || manager->suspended()) return;
  manager->Suspend();
  paused_ = manager;
}

RealtimePause::~RealtimePause() {
  if (paused_ != nullptr && paused_->running()) paused_->Resume();
}

}  // namespace stationlink
