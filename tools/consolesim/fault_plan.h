#pragma once

// Faults the simulated console can commit on purpose, switched on by name. Each kind has
// its own opportunities (every ACK the console sends is an opportunity for "nak", every
// page for "crc-page", ...), counted from 1; a rule says at which opportunities it fires.
//
// Rule syntax (one per --fault option):
//   name          the first opportunity only
//   name@N        the N-th opportunity
//   name@N*K      K opportunities in a row from the N-th (K = 0: all from the N-th on)
//   name%P        every opportunity with probability P percent (drawn from the seed)

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace consolesim {

enum class FaultKind : std::uint8_t {
  kCrcBlock,     // a binary reply block (EEBRD, GETTIME, DMPAFT answer, ...) gets a bad CRC
  kCrcPage,      // an archive page gets a bad CRC
  kCrcLoop,      // a LOOP packet gets a bad CRC
  kNoReply,      // a command, wake-up included, gets no answer at all (the link times out)
  kPageTimeout,  // an archive page is not sent
  kNak,          // NAK where the console should send ACK
  kWrongAck,     // another byte ('!') where the console should send ACK
  kDropByte,     // one byte of a reply goes missing
  kGarbage,      // a few stray bytes arrive before a reply
  kRepeatPage,   // after an ACK the console sends the same page again
  kSkipPage,     // after an ACK the console jumps one page ahead
  kDisconnect,   // the line goes dead for a while: nothing heard, nothing sent
};
constexpr std::size_t kFaultKinds = 12;

std::string_view faultName(FaultKind kind);
std::optional<FaultKind> faultFromName(std::string_view name);
// "crc-block, crc-page, ..." for help texts.
std::string faultNames();

struct FaultRule {
  FaultKind kind = FaultKind::kNak;
  std::uint64_t first = 1;  // first opportunity that fires
  std::uint64_t count = 1;  // opportunities that fire from `first`; 0 = no end
  double percent = -1;      // >= 0: fire at random with this probability instead
};

platform::Result<FaultRule> parseFaultRule(std::string_view text);

class FaultPlan {
 public:
  explicit FaultPlan(std::uint64_t seed = 1) : rng_(seed) {}

  void add(const FaultRule& rule) { rules_.push_back(rule); }
  bool empty() const { return rules_.empty(); }

  // Counts one opportunity for `kind` and answers whether the fault happens this time.
  bool fire(FaultKind kind);
  // How often `kind` has fired.
  std::uint64_t fired(FaultKind kind) const { return fired_[static_cast<std::size_t>(kind)]; }

  // Deterministic draws for the shape of a fault (which byte to drop, which garbage).
  std::uint64_t draw(std::uint64_t bound);

 private:
  std::vector<FaultRule> rules_;
  std::array<std::uint64_t, kFaultKinds> seen_{};
  std::array<std::uint64_t, kFaultKinds> fired_{};
  std::mt19937_64 rng_;
};

}  // namespace consolesim
