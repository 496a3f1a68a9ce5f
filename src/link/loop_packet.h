#pragma once

// LOOP packets: the console's 99-byte report of its current readings, checked and decoded
// into a SensorImage, and assembled across reads that each bring only part of one.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "link/sensor_image.h"
#include "platform/status.h"

namespace stationlink {

inline constexpr std::size_t kLoopPacketBytes = 99;

// Answers of a LOOP packet read.
inline constexpr int kLoopDecoded = 0;
inline constexpr int kLoopIncomplete = 1;
inline constexpr int kLoopBadHeader = -2;
inline constexpr int kLoopCrcError = -4;
inline constexpr int kLoopReadFailure = -500;

// Checks and decodes one whole packet into `image`: 0, kLoopCrcError when the CRC over
// all 99 bytes is not zero, kLoopBadHeader for a wrong header (or a packet that is not
// 99 bytes long). `image` is changed only for a good packet.
int decodeLoopPacket(std::span<const std::uint8_t> packet, SensorImage& image);

// Collects one packet a byte at a time. A read that times out leaves the bytes gathered
// so far for the next call, so a packet split across polls is decoded once complete.
class LoopPacketAssembler {
 public:
  using ByteReader = std::function<platform::Result<std::uint8_t>()>;

  // kLoopIncomplete while the packet is not complete (a time-out), kLoopReadFailure when a
  // read fails otherwise, else the answer of decodeLoopPacket (the packet is then done
  // with, good or bad).
  int read(const ByteReader& readByte, SensorImage& image);
  void reset() { count_ = 0; }
  std::size_t pending() const { return count_; }

 private:
  std::uint8_t bytes_[kLoopPacketBytes] = {};
  std::size_t count_ = 0;
};

// The console battery in hundredths of a volt; none below 518 (a reading the console
// gives without a battery worth showing) and for the no-data value.
std::optional<int> consoleBatteryHundredths(std::uint16_t raw);
// "6.00 V", or "---" when there is no reading.
std::string consoleBatteryText(std::uint16_t raw);

}  // namespace stationlink
