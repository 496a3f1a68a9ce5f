#include <chrono>
#include <string>

#include "link/cirrant_link.h"
#include "link/link_types.h"

namespace stationlink {

namespace {

constexpr auto kWholePacketLimit = std::chrono::seconds(60);
constexpr int kErrNoWakeUp = -10;
constexpr const char* kNoReadingsText = "Agotado tiempo de espera de datos de la estación";

}  // namespace

platform::Status CirrantLink::StartLoop(int count) {
  loop_.reset();
  platform::Status s = Open();
  if (s) {
    reloadIdleCountdown();
    SetTimeoutProfile(TimeoutProfile::kDefault);
    (void)WakeUp();  // a console that sleeps on answers the request all the same
    (void)Flush();
    s = WriteString("LOOP " + std::to_string(count) + "\n");
  }
  if (s) s = GetAcknowledge();
  if (!s) {
    return linkFailure(kErrFailed,
                       "the console did not take the request for its readings: " + s.message());
  }
  SetTimeoutProfile(TimeoutProfile::kStreaming);
  return platform::Status::ok();
}

platform::Status CirrantLink::StopLoop() {
  reloadIdleCountdown();
  (void)WriteByte(kCr);
  wait(150);
  (void)WriteByte(kCr);
  SetTimeoutProfile(TimeoutProfile::kDefault);
  wait(300);
  (void)Flush();
  reloadIdleCountdown();
  return platform::Status::ok();
}

platform::Result<int> CirrantLink::ReadLoopPacket(SensorImage& image) {
  if (port() == nullptr) return linkFailure(kErrFailed, "the port is not open");
  reloadIdleCountdown();
  const int answer = loop_.read([this] { return ReadByte(); }, image);
  if (answer != kLoopIncomplete) reloadIdleCountdown();
  switch (answer) {
    case kLoopDecoded:
    case kLoopIncomplete:
      return answer;
    case kLoopCrcError:
      return fail(kCrcError, kErrCrc, "CRC error in a LOOP packet");
    case kLoopBadHeader:
      return linkFailure(kLoopBadHeader, "a LOOP packet with a wrong header");
    default:
      return linkFailure(kLoopReadFailure, "the line failed while a LOOP packet arrived");
  }
}

platform::Status CirrantLink::GetSensorImage(SensorImage& image) {
  if (platform::Status s = Open(); !s) return linkFailure(kErrFailed, s.message());
  reloadIdleCountdown();
  if (platform::Status s = WakeUp(); !s) {
    return linkFailure(kErrNoWakeUp, s.message());
  }
  SaveTimeouts();
  if (platform::Status s = StartLoop(1); !s) {
    RestoreTimeouts();
    return s;
  }
  const platform::Instant start = clock().now();
  for (;;) {
    platform::Result<int> answer = ReadLoopPacket(image);
    if (!answer || *answer == kLoopDecoded) {
      RestoreTimeouts();
      return answer ? platform::Status::ok() : answer.status();
    }
    if (clock().now() - start >= kWholePacketLimit) {
      RestoreTimeouts();
      logLine(kNoReadingsText);
      return linkFailure(kErrFailed, kNoReadingsText);
    }
  }
}

}  // namespace stationlink
