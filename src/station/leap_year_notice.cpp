#include "station/leap_year_notice.h"

#include <chrono>

namespace station {

bool leapYearNoticeDue(int year, int month, int day) {
  using namespace std::chrono;
  const year_month_day date{std::chrono::year{year},
                            std::chrono::month{static_cast<unsigned>(month)},
                            std::chrono::day{static_cast<unsigned>(day)}};
  if (!date.ok()) return false;
  const year_month_day firstOfMarch{std::chrono::year{year}, March, std::chrono::day{1}};
  const auto apart = (sys_days{date} - sys_days{firstOfMarch}).count();
  return apart > -21 && apart < 21;
}

}  // namespace station
