#include "database/rain_view.h"

#include <string>

#include "database/view_text.h"
#include "platform/string_table.h"
#include "quantities/text_format.h"

namespace database {

namespace {

// The printed rain table has its own short row texts; on screen the rows are named in full.
constexpr int kMinRowText = 64882;
constexpr int kMaxRowText = 64883;
constexpr int kAverageRowText = 64884;
constexpr int kYearHead = 64880;
constexpr int kTotalHead = 64881;
constexpr int kFirstMonthHead = 64885;  // "Ene", then one text per month
constexpr std::size_t kLabelWidth = 7;

// Month columns are 7 wide and the total 8; millimetres show one decimal, inches two.
std::string cell(double v, bool total, bool mm) {
  const std::size_t width = total ? 8 : 7;
  std::string text = v < 0 ? std::string("---") : quantities::fixedText(v, mm ? 1 : 2);
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string label(const std::string& text) { return padRight(text, kLabelWidth); }

}  // namespace

void printRainTable(const RainDatabase& rain, const quantities::Units& units, std::ostream& out) {
  const bool mm = units.GetRainUnit() == quantities::kMillimetres;
  out << label(platform::loadString(kYearHead));
  for (int m = 0; m < kRainMonths; ++m)
    out << padLeft(platform::loadString(kFirstMonthHead + m), 7);
  out << padLeft(platform::loadString(kTotalHead), 8) << "\n";
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
