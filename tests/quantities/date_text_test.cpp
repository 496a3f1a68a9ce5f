#include "quantities/date_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quantities {
namespace {

using records::DateTime;

// Replaces every 'S' of a pattern with the date separator and every 'T' with the time one.
std::string fill(std::string pattern, char dateSep, char timeSep) {
  for (char& c : pattern) {
    if (c == 'S') c = dateSep;
    if (c == 'T') c = timeSep;
  }
  return pattern;
}

IntlSettings intl(int order, char dateSep, bool clock24, char timeSep = ':') {
  return IntlSettings{order, dateSep, clock24, timeSep};
}

TEST(DateText, ShortDateInEveryOrderAndSeparator) {
  const DateTime dt = DateTime::fromDate(2006, 3, 5);
  const char* patterns[] = {"03S05S06", "05S03S06", "06S03S05"};
  for (int order = 0; order < 3; ++order) {
    for (char sep : {'/', '-', '.'}) {
      EXPECT_EQ(shortDateText(dt, intl(order, sep, true)), fill(patterns[order], sep, ':'))
          << order << sep;
    }
  }
  EXPECT_EQ(shortDateText(DateTime{}, intl(1, '/', true)), "-----");
}

// Time texts at the start, middle and end of the day: {minutes, DateTime, record, export}.
struct TimeCase {
  int minutes;
  const char* dateTime;
  const char* record;
  const char* exported;
};

TEST(DateText, TimesOnBothClocksAndSeparators) {
  const TimeCase clock24[] = {{0, " 0T00", " 0T00", "0T00"},
                              {720, "12T00", "12T00", "12T00"},
                              {1440, "00T00", "00T00", "00T00"}};
  const TimeCase clock12[] = {{0, "12T00a", "12T00a", "12T00 a"},
                              {720, "12T00p", "12T00p", "12T00 p"},
                              {1440, "12T00m", "12T00a", "12T00 a"}};
  for (int order = 0; order < 3; ++order) {
    for (char sep : {':', '.', '/'}) {
      for (bool is24 : {true, false}) {
        const IntlSettings s = intl(order, '-', is24, sep);
        for (const TimeCase& c : is24 ? clock24 : clock12) {
          const DateTime dt = DateTime::fromDate(2006, 3, 5, static_cast<std::uint16_t>(c.minutes));
          const std::string where =
              std::to_string(order) + sep + (is24 ? "24h " : "12h ") + std::to_string(c.minutes);
          EXPECT_EQ(timeText(dt, s), fill(c.dateTime, '-', sep)) << where;
          EXPECT_EQ(recordTimeText(c.minutes, s), fill(c.record, '-', sep)) << where;
          EXPECT_EQ(exportRecordTimeText(c.minutes, s), fill(c.exported, '-', sep)) << where;
        }
      }
    }
  }
}

TEST(DateText, OtherHoursOnTheTwelveHourClock) {
  const IntlSettings s = intl(1, '/', false);
  DateTime dt = DateTime::fromDate(2006, 3, 5, 13 * 60 + 5);
  EXPECT_EQ(timeText(dt, s), " 1:05p");
  EXPECT_EQ(recordTimeText(9 * 60 + 30, s), " 9:30a");
  EXPECT_EQ(exportRecordTimeText(23 * 60 + 59, s), "11:59 p");
  EXPECT_EQ(recordTimeText(12 * 60 + 1, intl(1, '/', true)), "12:01");
  dt.setMinutes(records::kNoTime);
  EXPECT_EQ(timeText(dt, s), "----");
}

TEST(DateText, LongDateMonthYearAndMinutes) {
  const DateTime dt = DateTime::fromDate(2006, 3, 15);
  EXPECT_EQ(longDateText(dt, intl(0, '/', true)), "Miércoles Marzo 15, 2006");
  EXPECT_EQ(longDateText(dt, intl(1, '/', true)), "Miércoles 15 Marzo 2006");
  EXPECT_EQ(monthYearText(dt, intl(0, '-', true)), "03-2006");
  EXPECT_EQ(monthYearText(dt, intl(2, '.', true)), "2006.03");
  EXPECT_EQ(monthYearText(DateTime{}, intl(2, '.', true)), "-----");
  EXPECT_EQ(minutesText(75), " 1:15");
  EXPECT_EQ(minutesText(1440), "24:00");
  EXPECT_EQ(minutesText(-1), "---");
  EXPECT_EQ(minutesText(-32768), "---");
}

TEST(DateText, WeekdayCountsBothWaysFromTheEpoch) {
  EXPECT_EQ(weekday(1979, 12, 30), 0);  // Sunday
  EXPECT_EQ(weekday(1979, 12, 29), 6);  // the day before is Saturday, not -1
  EXPECT_EQ(weekday(1979, 12, 23), 0);
  EXPECT_EQ(weekday(1900, 1, 1), 1);   // Monday
  EXPECT_EQ(weekday(1970, 1, 1), 4);   // Thursday
  EXPECT_EQ(weekday(2000, 2, 29), 2);  // Tuesday
}

struct DateParse {
  const char* name;
  int order;
  char sep;
  const char* text;
  int year;  // 0: refused
  int month;
  int day;
};

TEST(DateParsing, Cases) {
  const DateParse cases[] = {
      {"month first, short year", 0, '/', "3-15-6", 2006, 3, 15},
      {"month first, 85 is 1985", 0, '/', "3-15-85", 1985, 3, 15},
      {"80 is 2080", 0, '/', "1/2/80", 2080, 1, 2},
      {"81 is 1981", 0, '/', "1/2/81", 1981, 1, 2},
      {"day first", 1, '/', "15/3/2006", 2006, 3, 15},
      {"year first with dots", 2, '/', "2006.03.15", 2006, 3, 15},
      {"user separator", 1, ';', "15;03;06", 2006, 3, 15},
      {"spaces skipped", 1, '/', " 15 / 3 / 06 ", 2006, 3, 15},
      {"leap day in a leap year", 1, '/', "29/2/2004", 2004, 2, 29},
      {"leap day in 2000", 1, '/', "29/2/2000", 2000, 2, 29},
      {"no leap day in 1900", 1, '/', "29/2/1900", 0, 0, 0},
      {"no leap day in 2005", 1, '/', "29/2/2005", 0, 0, 0},
      {"31 April", 1, '/', "31/4/06", 0, 0, 0},
      {"month 13", 1, '/', "1/13/06", 0, 0, 0},
      {"day 0", 1, '/', "0/1/06", 0, 0, 0},
      {"two numbers", 1, '/', "15/3", 0, 0, 0},
      {"letters", 1, '/', "15x3x06", 0, 0, 0},
      {"separator of another user", 1, '/', "15;3;06", 0, 0, 0},
      {"number beyond a short", 1, '/', "1/1/99999", 0, 0, 0},
      {"longer than 20 characters", 1, '/', "15 / 03 / 2006       ", 0, 0, 0},
  };
  for (const DateParse& c : cases) {
    const auto d = parseDate(c.text, intl(c.order, c.sep, true));
    if (c.year == 0) {
      EXPECT_FALSE(d.has_value()) << c.name;
    } else {
      ASSERT_TRUE(d.has_value()) << c.name;
      EXPECT_EQ(*d, (Date{c.year, c.month, c.day})) << c.name;
    }
  }
}

TEST(DateOptionParsing, IsoOrTheUsersOwnForm) {
  const DateParse cases[] = {
      {"ISO with a day-first user", 1, '/', "2006-07-15", 2006, 7, 15},
      {"ISO with a month-first user", 0, '.', "2006-7-5", 2006, 7, 5},
      {"the user's own form", 1, '/', "15/07/06", 2006, 7, 15},
      {"the user's own form, month first", 0, '/', "7/15/2006", 2006, 7, 15},
      {"ISO 31 February", 1, '/', "2006-02-31", 0, 0, 0},
      {"ISO with a fourth number", 1, '/', "2006-07-15-1", 0, 0, 0},
      {"ISO with a space", 1, '/', "2006-07-15 3", 0, 0, 0},
      {"ISO month only", 1, '/', "2006-07", 0, 0, 0},
  };
  for (const DateParse& c : cases) {
    const auto d = parseDateOption(c.text, intl(c.order, c.sep, true));
    if (c.year == 0) {
      EXPECT_FALSE(d.has_value()) << c.name;
    } else {
      ASSERT_TRUE(d.has_value()) << c.name;
      EXPECT_EQ(*d, (Date{c.year, c.month, c.day})) << c.name;
    }
  }
}

TEST(TimeParsing, Cases) {
  const struct {
    const char* text;
    char sep;
    int minutes;  // -1: refused
  } cases[] = {
      {"13:45", ':', 825}, {"1:45p", ':', 825},  {"1:45 PM", ':', 825},
      {"12:00a", ':', 0},  {"12:30am", ':', 30}, {"12:00p", ':', 720},
      {"11.15", ':', 675}, {"9h30", 'h', 570},   {" 0:60", ':', 60},
      {"24:00", ':', -1},  {"1:61", ':', -1},    {"1:45ap", ':', -1},
      {"1x45", ':', -1},   {"7", ':', -1},       {"1:45 pppppppppppppppp", ':', -1},
  };
  for (const auto& c : cases) {
    const auto t = parseTime(c.text, intl(1, '/', true, c.sep));
    if (c.minutes < 0) {
      EXPECT_FALSE(t.has_value()) << c.text;
    } else {
      ASSERT_TRUE(t.has_value()) << c.text;
      EXPECT_EQ(*t, c.minutes) << c.text;
    }
  }
}

TEST(TimeParsing, FractionalHoursNeverGiveMinuteSixty) {
  EXPECT_EQ(hoursToTime(1.5), (HourMinute{1, 30}));
  EXPECT_EQ(hoursToTime(6.2584), (HourMinute{6, 16}));
  EXPECT_EQ(hoursToTime(1.999), (HourMinute{2, 0}));
  EXPECT_EQ(hoursToTime(23.9999), (HourMinute{24, 0}));
}

}  // namespace
}  // namespace quantities
