#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>

#include "platform/status.h"

namespace platform {

// Monotonic time, for time-outs and intervals. Never compare it with wall time.
using Instant = std::chrono::time_point<std::chrono::steady_clock, std::chrono::milliseconds>;
// Wall-clock time as seconds since 1970 UTC.
using WallTime = std::chrono::sys_seconds;

// A broken-down calendar time, local or UTC.
struct CivilTime {
  int year = 1970;   // four digits
  int month = 1;     // 1-12
  int day = 1;       // 1-31
  int hour = 0;      // 0-23
  int minute = 0;    // 0-59
  int second = 0;    // 0-60
  int weekday = 4;   // 0 = Sunday
  int yearDay = 0;   // 0-365
  bool operator==(const CivilTime&) const = default;
};

// Every reading of the time in the program goes through a Clock.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual Instant now() const = 0;
  virtual WallTime wallNow() const = 0;
  virtual CivilTime toLocal(WallTime t) const = 0;
  virtual CivilTime toUtc(WallTime t) const = 0;
  // Local civil time back to wall time; the day and month may be out of range.
  virtual WallTime fromLocal(const CivilTime& local) const = 0;
  // Minutes east of UTC in force at `t` (daylight saving included).
  virtual int utcOffsetMinutes(WallTime t) const = 0;
  // Sets the system clock to the given local time. kPermission when not allowed.
  virtual Status setLocalTime(const CivilTime& local) = 0;
  virtual void sleepFor(std::chrono::milliseconds d) = 0;

  CivilTime localNow() const { return toLocal(wallNow()); }
};

// The system clock.
Clock& systemClock();

// A clock that moves only when told. Local time is UTC shifted by a fixed offset.
// sleepFor advances both the monotonic and the wall time.
class FakeClock : public Clock {
 public:
  explicit FakeClock(WallTime start = WallTime{}, int utcOffsetMinutes = 0)
      : wall_(start), offsetMinutes_(utcOffsetMinutes) {}

  Instant now() const override { return mono_; }
  WallTime wallNow() const override { return wall_; }
  CivilTime toLocal(WallTime t) const override;
  CivilTime toUtc(WallTime t) const override;
  WallTime fromLocal(const CivilTime& local) const override;
  int utcOffsetMinutes(WallTime) const override { return offsetMinutes_; }
  Status setLocalTime(const CivilTime& local) override;
  void sleepFor(std::chrono::milliseconds d) override { advance(d); }

  void advance(std::chrono::milliseconds d);
  void setWall(WallTime t) { wall_ = t; }
  // Sets the wall time from a local civil time.
  void setLocal(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
  void failSetTime(bool fail) { failSetTime_ = fail; }

 private:
  Instant mono_{};
  std::chrono::milliseconds subSecond_{0};
  WallTime wall_;
  int offsetMinutes_;
  bool failSetTime_ = false;
};

// Calendar helpers shared by every subsystem.
CivilTime civilFromWall(WallTime t);  // UTC
WallTime wallFromCivil(const CivilTime& c);  // treats c as UTC; normalises out-of-range fields
int daysInMonth(int year, int month);
bool isLeapYear(int year);

}  // namespace platform
