#include "quantities/date_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "platform/clock.h"
#include "platform/string_table.h"
#include "quantities/text_format.h"
#include "quantities/text_ids.h"

namespace quantities {

namespace {

template <typename... Args>
std::string format(const char* fmt, Args... args) {
  std::array<char, 64> buf{};
  const int n = std::snprintf(buf.data(), buf.size(), fmt, args...);
  if (n < 0) return std::string(kDash3);
  return std::string(buf.data(),
                     std::min<std::size_t>(static_cast<std::size_t>(n), buf.size() - 1));
}

bool usable(const records::DateTime& dt) {
  return dt.valid != 0 && records::isValidDate(dt.year, dt.month, dt.day);
}

// Hour and minute of a time of day, truncated toward zero like the stored minutes are.
void split(int minutes, int& hour, int& minute) {
  hour = minutes / 60;
  minute = minutes % 60;
}

}  // namespace

std::string shortDateText(const records::DateTime& dt, const IntlSettings& intl) {
  if (!usable(dt)) return std::string(kDash5);
  const int y = dt.year % 100;
  const char s = intl.dateSeparator;
  switch (intl.dateOrder) {
    case 0:
      return format("%02d%c%02d%c%02d", int(dt.month), s, int(dt.day), s, y);
    case 2:
      return format("%02d%c%02d%c%02d", y, s, int(dt.month), s, int(dt.day));
    default:
      return format("%02d%c%02d%c%02d", int(dt.day), s, int(dt.month), s, y);
  }
}

std::string monthYearText(const records::DateTime& dt, const IntlSettings& intl) {
  if (!usable(dt)) return std::string(kDash5);
  if (intl.dateOrder == 2)
    return format("%4d%c%02d", int(dt.year), intl.dateSeparator, int(dt.month));
  return format("%02d%c%4d", int(dt.month), intl.dateSeparator, int(dt.year));
}

std::string longDateText(const records::DateTime& dt, const IntlSettings& intl) {
  if (!usable(dt)) return std::string(kDash5);
  const std::string day =
      platform::loadString(text::kWeekdays + weekday(dt.year, dt.month, dt.day));
  const std::string month = platform::loadString(text::kMonths + dt.month - 1);
  if (intl.dateOrder == 0) {
    return format("%s %s %d, %d", day.c_str(), month.c_str(), int(dt.day), int(dt.year));
  }
  return format("%s %d %s %d", day.c_str(), int(dt.day), month.c_str(), int(dt.year));
}

std::string timeText(const records::DateTime& dt, const IntlSettings& intl) {
  if (dt.minutes > 1440) return std::string(kDash4);
  int h;
  int m;
  split(dt.minutes, h, m);
  const char s = intl.timeSeparator;
  if (intl.clock24) {
    if (h == 24) return format("00%c%02d", s, m);
    return format("%2d%c%02d", h, s, m);
  }
  if (h == 0) return format("12%c%02da", s, m);
  if (h == 24) return format("12%c%02dm", s, m);
  if (h == 12) return format("%2d%c%02dp", 12, s, m);
  if (h < 12) return format("%2d%c%02da", h, s, m);
  return format("%2d%c%02dp", h - 12, s, m);
}

std::string recordTimeText(int minutes, const IntlSettings& intl) {
  int h;
  int m;
  split(minutes, h, m);
  const char s = intl.timeSeparator;
  if (intl.clock24) {
    if (h == 24) return format("00%c%02d", s, m);
    return format("%2d%c%02d", h, s, m);
  }
  if (h == 0 || h == 24) return format("12%c%02da", s, m);
  if (h == 12) return format("%2d%c%02dp", 12, s, m);
  if (h > 12) return format("%2d%c%02dp", h - 12, s, m);
  return format("%2d%c%02da", h, s, m);
}

std::string exportRecordTimeText(int minutes, const IntlSettings& intl) {
  int h;
  int m;
  split(minutes, h, m);
  const char s = intl.timeSeparator;
  if (intl.clock24) {
    if (h == 24) return format("00%c%02d", s, m);
    return format("%d%c%02d", h, s, m);
  }
  if (h == 0 || h == 24) return format("12%c%02d a", s, m);
  if (h == 12) return format("%d%c%02d p", 12, s, m);
  if (h > 12) return format("%d%c%02d p", h - 12, s, m);
  return format("%d%c%02d a", h, s, m);
}

std::string minutesText(int minutes) {
  if (minutes < 0 || minutes == -32768) return std::string(kDash3);
  return format("%2d:%02d", minutes / 60, minutes % 60);
}

int weekday(int year, int month, int day) {
  const platform::CivilTime epoch{1979, 12, 30};
  platform::CivilTime date{};
  date.year = year;
  date.month = month;
  date.day = day;
  const auto days = std::chrono::floor<std::chrono::days>(platform::wallFromCivil(date) -
                                                          platform::wallFromCivil(epoch))
                        .count();
  const long long r = days % 7;
  return static_cast<int>(r < 0 ? r + 7 : r);
}

namespace {

// Reads up to `want` unsigned numbers separated by the given separators; spaces are
// skipped. Returns false on any other character or on a number beyond 32767 (the
// range of the short integers these fields are read into).
template <std::size_t N>
bool readNumbers(std::string_view text, std::string_view separators, std::array<int, N>& out,
                 std::size_t& count) {
  count = 0;
  bool inNumber = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      if (!inNumber) {
        if (count == N) return true;  // later fields are not read
        out[count++] = 0;
        inNumber = true;
      }
      int& v = out[count - 1];
      v = v * 10 + (c - '0');
      if (v > 32767) return false;
    } else if (c == ' ' || separators.find(c) != std::string_view::npos) {
      inNumber = false;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<Date> parseDate(std::string_view text, const IntlSettings& intl) {
  if (text.size() > 20) return std::nullopt;
  const char seps[] = {intl.dateSeparator, '-', '/', '.'};
  std::array<int, 3> n{};
  std::size_t count = 0;
  if (!readNumbers(text, std::string_view(seps, sizeof seps), n, count) || count < 3)
    return std::nullopt;
  Date d{};
  switch (intl.dateOrder) {
    case 0:
      d = {n[2], n[0], n[1]};
      break;
    case 2:
      d = {n[0], n[1], n[2]};
      break;
    default:
      d = {n[2], n[1], n[0]};
      break;
  }
  if (d.year < 100) d.year += d.year > 80 ? 1900 : 2000;
  if (d.month < 1 || d.month > 12) return std::nullopt;
  if (d.day < 1 || d.day > platform::daysInMonth(d.year, d.month)) return std::nullopt;
  return d;
}

std::optional<Date> parseDateOption(std::string_view text, const IntlSettings& intl) {
  const bool iso = text.size() > 4 && text[4] == '-' &&
                   std::all_of(text.begin(), text.begin() + 4,
                               [](char c) { return c >= '0' && c <= '9'; });
  if (!iso) return parseDate(text, intl);
  IntlSettings isoOrder = intl;
  isoOrder.dateOrder = 2;
  isoOrder.dateSeparator = '-';
  // parseDate allows spaces and more separators; an ISO date is three numbers and two dashes.
  const bool plain = std::all_of(text.begin(), text.end(),
                                 [](char c) { return c == '-' || (c >= '0' && c <= '9'); });
  if (!plain || std::count(text.begin(), text.end(), '-') != 2) return std::nullopt;
  return parseDate(text, isoOrder);
}

std::optional<int> parseTime(std::string_view text, const IntlSettings& intl) {
  if (text.size() > 20) return std::nullopt;
  bool morning = false;
  bool afternoon = false;
  std::string digits;
  for (char c : text) {
    if (c == 'm' || c == 'M') continue;
    if (c == 'a' || c == 'A') {
      morning = true;
      digits.push_back(' ');
    } else if (c == 'p' || c == 'P') {
      afternoon = true;
      digits.push_back(' ');
    } else {
      digits.push_back(c);
    }
  }
  if (morning && afternoon) return std::nullopt;
  const char seps[] = {intl.timeSeparator, ':', '.'};
  std::array<int, 2> n{};
  std::size_t count = 0;
  if (!readNumbers(digits, std::string_view(seps, sizeof seps), n, count) || count < 2)
    return std::nullopt;
  int hour = n[0];
  const int minute = n[1];
  if (morning && hour == 12) hour = 0;
  if (afternoon && hour != 12) hour += 12;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 60) return std::nullopt;
  return hour * 60 + minute;
}

HourMinute hoursToTime(double hours) {
  if (!std::isfinite(hours)) return {0, 0};
  int hour = static_cast<int>(std::trunc(hours));
  int minute = static_cast<int>(std::trunc((hours - hour) * 60.0 + 0.5));
  if (minute >= 60) {
    hour += minute / 60;
    minute %= 60;
  }
  return {hour, minute};
}

}  // namespace quantities
