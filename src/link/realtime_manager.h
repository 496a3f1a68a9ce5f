#pragma once

// Keeps current readings flowing while real-time views are open: the console is asked for
// 55 LOOP packets at a time, each 500 ms tick reads what has arrived without waiting for
// a whole packet, and every other user of the station's link pauses the readings first.

#include <chrono>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "link/console_link.h"
#include "link/sensor_image.h"
#include "link/wind_history.h"
#include "platform/clock.h"

namespace stationlink {

// A real-time view: the bulletin, a gauge, a strip chart.
class RealtimeView {
 public:
  virtual ~RealtimeView() = default;
  // The values of a packet just decoded.
  virtual void update(const SensorImage& image) = 0;
  // After a poll step that brought new data.
  virtual void refresh() = 0;
  // The manager has closed the view (the connection was lost, or readings stopped). The
  // view must not call the manager from here.
  virtual void closed() = 0;
};

// What the manager needs of the program.
struct RealtimeHost {
  // The open station's link; null when there is none (the step then fails).
  std::function<ConsoleLink*()> link;
  platform::Clock* clock = &platform::systemClock();
  // An event-log line under the station's name.
  std::function<void(std::string_view line)> log;
  // A message box for a person (title, text); empty for none.
  std::function<void(std::string_view title, std::string_view text)> show;
  // The alarm beep; empty for none.
  std::function<void()> beep;
  // True while the person has silenced the alarms.
  std::function<bool()> alarmsSilenced;
  // Arms (true) or disarms (false) the timer that calls tick() every kTickInterval.
  std::function<void(bool armed)> timer;
};

class RealtimeManager {
 public:
  static constexpr int kPacketsPerRequest = 55;
  static constexpr std::chrono::milliseconds kTickInterval{500};
  // A request is renewed after this long without a whole packet.
  static constexpr std::chrono::seconds kSilenceLimit{16};
  // Failed requests in a row before the start failure is reported, and failed steps in a
  // row before the console is pinged.
  static constexpr int kRequestFailureLimit = 10;
  static constexpr int kFailedStepLimit = 9;

  explicit RealtimeManager(RealtimeHost host);
  ~RealtimeManager();
  RealtimeManager(const RealtimeManager&) = delete;
  RealtimeManager& operator=(const RealtimeManager&) = delete;

  // Opening the first view starts the manager; the first step for a new view reads one
  // packet even while suspended. Closing the last view stops it.
  void openView(RealtimeView* view);
  void closeView(RealtimeView* view);

  void Start();
  // Stops the console's packets, disarms the timer and closes every view.
  void Stop();
  // Around every other use of the station's link: the console stops sending and the
  // manager leaves the link alone until Resume, which asks for packets afresh.
  void Suspend();
  void Resume();
  // One step; not re-entered, and skipped while suspended (but for a new view's first).
  void Poll();
  // The timer: a step unless the connection is lost or no view is open.
  void tick();

  bool running() const { return running_; }
  bool suspended() const { return suspended_; }
  bool connectionLost() const { return connectionLost_; }
  std::size_t viewCount() const { return views_.size(); }
  // The last packet decoded, if any.
  const std::optional<SensorImage>& latest() const { return latest_; }
  // The minute samples of wind since the readings started; emptied at every start.
  const WindHistory& windHistory() const { return windHistory_; }
  int packetsSinceRequest() const { return received_; }
  int failedRequests() const { return failedRequests_; }
  int failedSteps() const { return failedSteps_; }
  // Packets per request; below 2 every step asks for a single packet.
  void setPacketsPerRequest(int n) { packetsPerRequest_ = n; }

 private:
  enum class Step { kData, kNoData, kFailed };
  Step runStep(ConsoleLink* link);
  Step singleReading(ConsoleLink& link);
  Step renewRequest(ConsoleLink& link);
  Step readPacket(ConsoleLink& link);
  void packetArrived(const SensorImage& image);
  void stepFailed(ConsoleLink* link);
  void closeAllViews();
  void stopStreaming();
  // The station's link when its port is open, else null.
  ConsoleLink* openLink();
  void log(std::string_view line);
  void forceNewRequest() { received_ = packetsPerRequest_; }
  bool alarmCondition() const;

  RealtimeHost host_;
  std::vector<RealtimeView*> views_;
  int packetsPerRequest_ = kPacketsPerRequest;
  int received_ = kPacketsPerRequest;
  int failedRequests_ = 0;
  int failedSteps_ = 0;
  platform::Instant stamp_{};
  bool running_ = false;
  bool suspended_ = false;
  bool busy_ = false;
  bool newData_ = false;
  bool connectionLost_ = false;
  bool firstStepPending_ = false;
  bool packetThisSession_ = false;
  std::optional<SensorImage> latest_;
  WindHistory windHistory_;
};

// Suspends the manager for the life of the scope when it is running and not suspended
// already, and resumes it afterwards: the download, the settings and the modules use
// the station's link inside one.
class RealtimePause {
 public:
  explicit RealtimePause(RealtimeManager* manager);
  ~RealtimePause();
  RealtimePause(const RealtimePause&) = delete;
  RealtimePause& operator=(const RealtimePause&) = delete;

 private:
  RealtimeManager* paused_ = nullptr;
};

}  // namespace stationlink
