#include "link/wind_history.h"

#include <algorithm>

namespace stationlink {

void WindHistory::offer(const SensorImage& image, platform::Instant at) {
  if (count_ > 0) {
    const auto since = at - last_;
    if (since < kSampleInterval) return;
    if (since > kLongestGap) clear();
  }
  ring_[next_] = Sample{image.windSpeed, image.forecastRule};
  next_ = (next_ + 1) % kCapacity;
  count_ = std::min(count_ + 1, kCapacity);
  last_ = at;
}

void WindHistory::clear() {
  next_ = 0;
  count_ = 0;
}

const WindHistory::Sample& WindHistory::newest(std::size_t i) const {
  return ring_[(next_ + kCapacity - 1 - i) % kCapacity];
}

bool WindHistory::complete(std::size_t samples) const {
  if (samples == 0 || samples > count_) return false;
  for (std::size_t i = 0; i < samples; ++i) {
    if (newest(i).speed == kImageNone8) return false;
  }
  return true;
}

std::optional<double> WindHistory::average(std::size_t samples) const {
  if (!complete(samples)) return std::nullopt;
  double sum = 0;
  for (std::size_t i = 0; i < samples; ++i) sum += newest(i).speed;
  return sum / static_cast<double>(samples);
}

std::optional<double> WindHistory::highest(std::size_t samples) const {
  if (!complete(samples)) return std::nullopt;
  std::uint8_t top = 0;
  for (std::size_t i = 0; i < samples; ++i) top = std::max(top, newest(i).speed);
  return top;
}

std::optional<std::uint8_t> WindHistory::forecastRule() const {
  if (count_ == 0) return std::nullopt;
  return newest(0).forecastRule;
}

}  // namespace stationlink
