#pragma once

#include <string>
#include <string_view>

#include "platform/status.h"

namespace platform {

// The lock file in the program directory that keeps two instances of the program (the
// service and a cron "-d", say) from working on the same directory at once.
inline constexpr std::string_view kInstanceLockFileName = "stratalog.lock";
// The lock file in a station directory, held while a process has the station open for
// writing, so that two programs (from two program directories) never write one station.
inline constexpr std::string_view kStationLockFileName = "station.lock";

// An exclusive flock on the lock file, held for the life of the object. The kernel
// drops it when the process ends, however it ends, so a crash never leaves the directory
// locked.
class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(InstanceLock&& other) noexcept;
  InstanceLock& operator=(InstanceLock&& other) noexcept;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock of `programDirectory` without waiting. kBusy when another process
  // holds it (the message names the lock file); kIo or kPermission when the file cannot
  // be created.
  static Result<InstanceLock> acquire(const std::string& programDirectory,
                                      std::string_view fileName = kInstanceLockFileName);

  bool held() const { return fd_ >= 0; }

 private:
  explicit InstanceLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace platform
