#include "consolesim/pty_server.h"

#include <algorithm>
#include <array>

namespace consolesim {
namespace {

// What a terminal nobody reads may hold back before the console's bytes are lost, as they
// would be on a serial line with nothing at the other end.
constexpr std::size_t kMaxUnsent = 64 * 1024;

}  // namespace

platform::Status PtyServer::flushOutput() {
  std::array<std::uint8_t, 512> chunk{};
  while (std::size_t n = engine_.transmit(chunk)) {
    unsent_.insert(unsent_.end(), chunk.begin(), chunk.begin() + n);
  }
  if (unsent_.size() > kMaxUnsent) {
    unsent_.erase(unsent_.begin(), unsent_.end() - kMaxUnsent);
  }
  if (unsent_.empty()) return platform::Status::ok();
  auto written = pty_.write(unsent_);
  if (!written) return written.status();
  unsent_.erase(unsent_.begin(), unsent_.begin() + static_cast<std::ptrdiff_t>(*written));
  return platform::Status::ok();
}

platform::Status PtyServer::runOnce(std::chrono::milliseconds maxWait) {
  std::chrono::milliseconds wait = maxWait;
  if (const auto next = engine_.nextOutputAt()) {
    wait = std::clamp(std::chrono::duration_cast<std::chrono::milliseconds>(*next - clock_.now()),
                      std::chrono::milliseconds(0), wait);
  }
  // Bytes the terminal would not take yet: try again soon.
  if (!unsent_.empty()) wait = std::min(wait, std::chrono::milliseconds(10));
  std::array<std::uint8_t, 512> in{};
  auto got = pty_.read(in, wait);
  if (!got) return got.status();
  if (*got > 0) engine_.receive(std::span<const std::uint8_t>(in.data(), *got));
  return flushOutput();
}

platform::Status PtyServer::run(const std::function<bool()>& stopRequested) {
  while (!stopRequested()) {
    if (platform::Status s = runOnce(std::chrono::milliseconds(100)); !s.isOk()) return s;
  }
  return platform::Status::ok();
}

}  // namespace consolesim
