#include "link/loop_reader.h"

#include <string>

namespace stationlink {

platform::Status StartLoopRequest(ConsoleLink& link, int count) {
  if (platform::Status s = link.Open(); !s) return s;
  link.reloadIdleCountdown();
  link.SetTimeoutProfile(TimeoutProfile::kDefault);
  (void)link.WakeUp();  // a console that sleeps on answers the request all the same
  (void)link.Flush();
  if (platform::Status s = link.WriteString("LOOP " + std::to_string(count) + "\n"); !s) return s;
  if (platform::Status s = link.GetAcknowledge(); !s) return s;
  link.SetTimeoutProfile(TimeoutProfile::kStreaming);
  return platform::Status::ok();
}

void StopLoopRequest(ConsoleLink& link) {
  link.reloadIdleCountdown();
  (void)link.WriteByte('\r');
  link.wait(150);
  (void)link.WriteByte('\r');
  link.SetTimeoutProfile(TimeoutProfile::kDefault);
  link.wait(300);
  (void)link.Flush();
  link.reloadIdleCountdown();
}

int ReadLoopPacketFrom(ConsoleLink& link, LoopPacketAssembler& assembler, SensorImage& image) {
  if (link.port() == nullptr) return -1;
  link.reloadIdleCountdown();
  int answer = assembler.read([&link] { return link.ReadByte(); }, image);
  if (answer != kLoopIncomplete) link.reloadIdleCountdown();
  return answer;
}

}  // namespace stationlink
