#include "link/timeout_profiles.h"

#include <array>

namespace stationlink {

namespace {

// Read interval, read per byte, read constant, write per byte, write constant (ms).
constexpr std::array<platform::SerialTimeouts, kTimeoutProfileCount> kProfiles = {{
    {0, 25, 2000, 25, 2000},
    {0, 25, 3500, 25, 2000},
    {0, 25, 500, 25, 500},
    {0, 25, 100, 25, 100},
    {90, 10, 100, 25, 2000},
    {0, 5, 100, 0, 0},
    {0, 250, 45000, 25, 100},
    {0, 30, 2000, 25, 2000},
    {0, 25, 7000, 25, 2000},
    {0, 30, 8000, 25, 2000},
    {0, 25, 100, 25, 100},
}};

}  // namespace

const platform::SerialTimeouts& timeoutProfile(TimeoutProfile profile) {
  int n = static_cast<int>(profile);
  if (n < 0 || n >= kTimeoutProfileCount) n = 0;
  return kProfiles[static_cast<std::size_t>(n)];
}

TimeoutProfile effectiveProfile(TimeoutProfile profile, bool modemLine) {
  if (!modemLine) return profile;
  if (profile == TimeoutProfile::kDefault) return TimeoutProfile::kDefaultModem;
  if (profile == TimeoutProfile::kClassic) return TimeoutProfile::kClassicModem;
  return profile;
}

}  // namespace stationlink
