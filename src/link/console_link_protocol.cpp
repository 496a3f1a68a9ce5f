// The exchanges every console variant shares: acknowledge, text replies, wake-up, the model
// query and the ping.
#include <array>
#include <cstdio>

#include "link/console_link.h"

namespace stationlink {

platform::Status ConsoleLink::GetAcknowledge() {
  auto byte = ReadByte();
  if (!byte) return byte.status();
  if (*byte == kAck) {
    state_ &= ~kNoAcknowledge;
    return platform::Status::ok();
  }
  char line[64];
  std::snprintf(line, sizeof line, "GetAcknowledge () response: 0x%02X (should be 0x06 <ACK>)",
                *byte);
  platform::Status s = fail(kNoAcknowledge, kErrNoAcknowledge, line);
  logLine(line);
  return s;
}

platform::Status ConsoleLink::expectText(std::string_view text, std::size_t at, bool flushAfter) {
  SaveTimeouts();
  SetTimeoutProfile(TimeoutProfile::kTextReply);
  std::array<std::uint8_t, 6> reply{};
  auto got = readSome(reply);
  RestoreTimeouts();
  if (!got) return got.status();
  if (*got < reply.size()) {
    return fail(
        kTimedOut, kErrTimeout,
        "console sent " + std::to_string(*got) + " bytes instead of \"" + std::string(text) + "\"");
  }
  const std::string_view seen(reinterpret_cast<const char*>(reply.data()), reply.size());
  if (seen.substr(at, text.size()) != text) {
    // The console answered, but not with the confirmation: the command was not carried out.
    return fail(kNoAcknowledge, kErrNoAcknowledge,
                "console did not answer \"" + std::string(text) + "\"");
  }
  if (flushAfter) return Flush();
  return platform::Status::ok();
}

platform::Status ConsoleLink::ExpectOk() { return expectText("OK", 2, false); }

platform::Status ConsoleLink::ExpectDone() { return expectText("DONE", 0, true); }

// Only a Cirrant console is woken: LF answered by LF CR.
platform::Status ConsoleLink::WakeUp() {
  if (params_.linkType != LinkType::kCirrant) return notSupported("WakeUp");
  for (int attempt = 0; attempt < kWakeUpRetries; ++attempt) {
    if (platform::Status s = Flush(); !s) continue;
    if (platform::Status s = WriteByte(kLf); !s) continue;
    auto byte = ReadByte();
    if (byte && *byte == kLf) {
      (void)ReadByte();  // the CR that follows
      lastError_ = 0;
      reloadIdleCountdown();
      return platform::Status::ok();
    }
  }
  // A console that answers with the wrong byte is as unreachable as a silent one.
  return fail(kTimedOut, lastError_ != 0 ? lastError_ : kErrTimeout, "the console did not wake up");
}

platform::Result<int> ConsoleLink::Identify() {
  if (platform::Status s = Open(); !s) return s;
  if (platform::Status s = WriteByte(kCr); !s) return s;
  wait(250);
  if (platform::Status s = Flush(); !s) return s;
  bool answered = false;
  for (int attempt = 0; attempt < 5 && !answered; ++attempt) {
    if (platform::Status s = WriteByte(kCr); !s) return s;
    auto byte = ReadByte();
    if (byte && (*byte == kLf || *byte == '!')) {
      answered = true;
    } else {
      wait(10);
    }
  }
  wait(100);
  if (!answered) return fail(kTimedOut, lastError_ != 0 ? lastError_ : kErrTimeout, "no console");
  static constexpr std::uint8_t kWrd[] = {'W', 'R', 'D', 0x12, 0x4D, kCr};
  bool acknowledged = false;
  for (int attempt = 0; attempt < 5 && !acknowledged; ++attempt) {
    if (platform::Status s = Flush(); !s) return s;
    if (platform::Status s = WriteBytes(kWrd); !s) return s;
    acknowledged = GetAcknowledge().isOk();
  }
  if (!acknowledged) return linkFailure(lastError_, "the console did not acknowledge WRD");
  auto model = ReadByte();
  if (!model) return model.status();
  if (!receive_.empty()) receive_[0] = *model;
  return static_cast<int>(*model);
}

platform::Status ConsoleLink::Ping() {
  if (platform::Status s = Flush(); !s) return s;
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (platform::Status s = WriteByte(kCr); !s) return s;
    auto byte = ReadByte();
    wait(20);
    if (byte) return platform::Status::ok();
  }
  return linkFailure(lastError_ != 0 ? lastError_ : kErrTimeout, "the console did not answer");
}

}  // namespace stationlink
