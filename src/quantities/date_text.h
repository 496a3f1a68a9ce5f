#pragma once

// Dates and times as text in the user's conventions (order, separators, 12- or 24-hour
// clock), and the parsing of dates and times the user types.

#include <optional>
#include <string>
#include <string_view>

#include "platform/intl_settings.h"
#include "records/month_format.h"

namespace quantities {

using platform::IntlSettings;

// Two-digit year, month and day in the user's order; "-----" for an invalid date.
std::string shortDateText(const records::DateTime& dt, const IntlSettings& intl);
// Month and four-digit year (year first for order 2); "-----" for an invalid date.
std::string monthYearText(const records::DateTime& dt, const IntlSettings& intl);
// Weekday and month names with day and year; "-----" for an invalid date.
std::string longDateText(const records::DateTime& dt, const IntlSettings& intl);
// The time of a DateTime; "----" when its minutes are outside 0 to 1440.
std::string timeText(const records::DateTime& dt, const IntlSettings& intl);
// The time of day stored in a record (GetRecordTimeStr).
std::string recordTimeText(int minutes, const IntlSettings& intl);
// The time of day of a record in export files (GetExportRecordTimeStr): no padding.
std::string exportRecordTimeText(int minutes, const IntlSettings& intl);
// Minutes as hours and minutes, "%2d:%02d"; "---" for negative or no data.
std::string minutesText(int minutes);

// 0 = Sunday. Days are counted from Sunday 30 December 1979, in both directions.
int weekday(int year, int month, int day);

struct Date {
  int year;
  int month;
  int day;
  bool operator==(const Date&) const = default;
};

// A date typed by the user (at most 20 characters): three numbers in the user's order,
// separated by the date separator, '-', '/' or '.'; spaces are ignored. A year below 100
// is 19xx above 80, else 20xx. Empty when the text is not a real date.
std::optional<Date> parseDate(std::string_view text, const IntlSettings& intl);
// A date given on the command line: ISO "YYYY-MM-DD" (a four-digit year first), or the
// user's own form as parseDate reads it. Empty when the text is not a real date.
std::optional<Date> parseDateOption(std::string_view text, const IntlSettings& intl);
// A time typed by the user (at most 20 characters): hour and minute separated by the
// time separator, ':' or '.', with an optional a/p marker. Minutes after midnight, or
// empty when the text is not a time.
std::optional<int> parseTime(std::string_view text, const IntlSettings& intl);

struct HourMinute {
  int hour;
  int minute;
  bool operator==(const HourMinute&) const = default;
};
// Fractional hours to hour and minute, minutes rounded; 59.5 minutes or more carry into
// the next hour, so the minute is never 60.
HourMinute hoursToTime(double hours);

}  // namespace quantities
