#pragma once

#include <cstdint>

#include "publish/inet_config.h"

namespace frame {

// The profiles due at one minute of the day: bit k for profile k, and whether any of them
// asks for dial-up (bit 0x100 of a run request).
struct UploadsDue {
  std::uint32_t profiles = 0;
  bool dialUp = false;
};

inline constexpr int kMinutesPerDay = 1440;

// The upload schedule at `minuteOfDay` (0-1439): each enabled profile is due when the
// minutes since its start are a whole number of intervals and it has not run in this
// period yet; a profile with an interval of 1 is due once in every minute. Interval 0 is
// never due; the start is taken modulo a day. Updates the profiles' run bookkeeping.
UploadsDue dueUploads(publish::InetConfig& config, int minuteOfDay);

}  // namespace frame
