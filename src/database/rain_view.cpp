#include "database/rain_view.h"

#include <cstdio>
#include <string>

#include "platform/string_table.h"
#include "quantities/text_format.h"

namespace database {

namespace {

constexpr int kMinRowText = 61814;
constexpr int kMaxRowText = 61815;
constexpr int kAverageRowText = 61816;

constexpr const char* kMonthHeads[kRainMonths] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Month columns are 7 wide and the total 8; millimetres show one decimal, inches two.
std::string cell(double v, bool total, bool mm) {
  const std::size_t width = total ? 8 : 7;
  std::string text = v < 0 ? std::string("---") : quantities::fixedText(v, mm ? 1 : 2);
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string label(const std::string& text) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%-6s", text.c_str());
  return buf;
}

}  // namespace

void printRainTable(const RainDatabase& rain, const quantities::Units& units, std::ostream& out) {
  const bool mm = units.GetRainUnit() == quantities::kMillimetres;
  out << label("year");
  for (const char* head : kMonthHeads) out << "    " << head;
  out << "   total\n";
  for (int i = 0; i < rain.yearCount(); ++i) {
    const RainYear& y = rain.years()[static_cast<std::size_t>(i)];
    out << label(std::to_string(y.year));
    for (int m = 0; m < kRainMonths; ++m) out << cell(rain.getMonthValue(i, m, units), false, mm);
    out << cell(units.ConvertRain(y.total, 0), true, mm) << "\n";
  }
  const int rowTexts[] = {kMinRowText, kMaxRowText, kAverageRowText};
  for (int row = 0; row < 3; ++row) {
    out << label(platform::loadString(rowTexts[row]));
    for (int column = 0; column <= kRainTotalColumn; ++column) {
      const RainStatistics st = rain.statistics(column, units);
      const double v = row == 0 ? st.minimum : row == 1 ? st.maximum : st.average;
      out << cell(v, column == kRainTotalColumn, mm);
    }
    out << "\n";
  }
}

}  // namespace database
