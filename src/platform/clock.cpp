#include "platform/clock.h"

#include <time.h>

#include <cerrno>
#include <cstring>
#include <thread>

namespace platform {

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

CivilTime civilFromWall(WallTime t) {
  using namespace std::chrono;
  auto days = floor<std::chrono::days>(t);
  year_month_day ymd{days};
  hh_mm_ss hms{t - days};
  CivilTime c;
  c.year = static_cast<int>(ymd.year());
  c.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  c.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  c.hour = static_cast<int>(hms.hours().count());
  c.minute = static_cast<int>(hms.minutes().count());
  c.second = static_cast<int>(hms.seconds().count());
  c.weekday = static_cast<int>(weekday{days}.c_encoding());
  c.yearDay = static_cast<int>((days - sys_days{year{c.year} / January / 1}).count());
  return c;
}

WallTime wallFromCivil(const CivilTime& c) {
  using namespace std::chrono;
  // Normalise the month first, then let days carry the rest.
  int y = c.year + (c.month - 1) / 12;
  int m = (c.month - 1) % 12;
  if (m < 0) {
    m += 12;
    --y;
  }
  sys_days base = sys_days{year{y} / month{static_cast<unsigned>(m + 1)} / 1};
  return WallTime{base + std::chrono::days{c.day - 1}} + hours{c.hour} + minutes{c.minute} + seconds{c.second};
}

namespace {

CivilTime fromTm(const struct tm& tm) {
  CivilTime c;
  c.year = tm.tm_year + 1900;
  c.month = tm.tm_mon + 1;
  c.day = tm.tm_mday;
  c.hour = tm.tm_hour;
  c.minute = tm.tm_min;
  c.second = tm.tm_sec;
  c.weekday = tm.tm_wday;
  c.yearDay = tm.tm_yday;
  return c;
}

class SystemClock final : public Clock {
 public:
  Instant now() const override {
    return std::chrono::time_point_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now());
  }
  WallTime wallNow() const override {
    return std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::system_clock::now());
  }
  CivilTime toLocal(WallTime t) const override {
    time_t tt = static_cast<time_t>(t.time_since_epoch().count());
    struct tm tm{};
    localtime_r(&tt, &tm);
    return fromTm(tm);
  }
  CivilTime toUtc(WallTime t) const override { return civilFromWall(t); }
  WallTime fromLocal(const CivilTime& c) const override {
    struct tm tm{};
    tm.tm_year = c.year - 1900;
    tm.tm_mon = c.month - 1;
    tm.tm_mday = c.day;
    tm.tm_hour = c.hour;
    tm.tm_min = c.minute;
    tm.tm_sec = c.second;
    tm.tm_isdst = -1;
    return WallTime{std::chrono::seconds{mktime(&tm)}};
  }
  int utcOffsetMinutes(WallTime t) const override {
    time_t tt = static_cast<time_t>(t.time_since_epoch().count());
    struct tm tm{};
    localtime_r(&tt, &tm);
    return static_cast<int>(tm.tm_gmtoff / 60);
  }
  Status setLocalTime(const CivilTime& local) override {
    struct timespec ts{};
    ts.tv_sec = static_cast<time_t>(fromLocal(local).time_since_epoch().count());
    if (clock_settime(CLOCK_REALTIME, &ts) != 0) {
      int err = errno;
      return Status(err == EPERM ? Errc::kPermission : Errc::kIo,
                    std::string("setting the system clock: ") + std::strerror(err), err);
    }
    return Status::ok();
  }
  void sleepFor(std::chrono::milliseconds d) override { std::this_thread::sleep_for(d); }
};

}  // namespace

Clock& systemClock() {
  static SystemClock clock;
  return clock;
}

CivilTime FakeClock::toLocal(WallTime t) const { return civilFromWall(t + std::chrono::minutes{offsetMinutes_}); }
CivilTime FakeClock::toUtc(WallTime t) const { return civilFromWall(t); }
WallTime FakeClock::fromLocal(const CivilTime& local) const {
  return wallFromCivil(local) - std::chrono::minutes{offsetMinutes_};
}

Status FakeClock::setLocalTime(const CivilTime& local) {
  if (failSetTime_) return Status(Errc::kPermission, "setting the system clock: not permitted");
  wall_ = fromLocal(local);
  return Status::ok();
}

void FakeClock::advance(std::chrono::milliseconds d) {
  mono_ += d;
  subSecond_ += d;
  auto whole = std::chrono::duration_cast<std::chrono::seconds>(subSecond_);
  wall_ += whole;
  subSecond_ -= whole;
}

void FakeClock::setLocal(int year, int month, int day, int hour, int minute, int second) {
  CivilTime c;
  c.year = year;
  c.month = month;
  c.day = day;
  c.hour = hour;
  c.minute = minute;
  c.second = second;
  wall_ = fromLocal(c);
}

}  // namespace platform
