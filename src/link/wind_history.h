#pragma once

// The last minutes of wind as the real-time readings brought it: one sample a minute, the
// newest eleven kept, so averages and gusts over 1, 2, 5 and 10 minutes can be shown while
// the readings flow.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "link/sensor_image.h"
#include "platform/clock.h"

namespace stationlink {

class WindHistory {
 public:
  static constexpr std::size_t kCapacity = 11;
  static constexpr std::chrono::minutes kSampleInterval{1};
  // A longer silence breaks the history: its samples would no longer lie a minute apart.
  static constexpr std::chrono::minutes kLongestGap{2};

  // A reading taken at `at`: it becomes the next sample once a minute has passed since the
  // last one; after a gap longer than kLongestGap it starts the history afresh.
  void offer(const SensorImage& image, platform::Instant at);
  void clear();

  std::size_t size() const { return count_; }
  // Mean and highest wind speed (mph) of the newest `samples` samples; nothing unless that
  // many samples are kept and every one has a speed.
  std::optional<double> average(std::size_t samples) const;
  std::optional<double> highest(std::size_t samples) const;
  // The console's forecast rule of the newest sample; nothing without a sample.
  std::optional<std::uint8_t> forecastRule() const;

 private:
  struct Sample {
    std::uint8_t speed = kImageNone8;
    std::uint8_t forecastRule = 0;
  };
  // The i-th newest sample; REQUIRES i < count_.
  const Sample& newest(std::size_t i) const;
  bool complete(std::size_t samples) const;

  std::array<Sample, kCapacity> ring_{};
  std::size_t next_ = 0;
  std::size_t count_ = 0;
  platform::Instant last_{};
};

}  // namespace stationlink
