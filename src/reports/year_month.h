#pragma once

namespace reports {

// A calendar month: what a monthly report or an export of months covers.
struct YearMonth {
  int year = 0;
  int month = 0;
  bool operator==(const YearMonth&) const = default;
};

}  // namespace reports
