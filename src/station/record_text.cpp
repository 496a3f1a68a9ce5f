#include "station/record_text.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "platform/string_table.h"
#include "quantities/text_format.h"

namespace station {

namespace {

constexpr int kDateStringId = 60029;  // "Fecha"
constexpr int kTimeStringId = 60030;  // "Hora"

std::string dropCaret(const std::string& label) {
  return !label.empty() && label[0] == '^' ? label.substr(1) : label;
}

// Lines are UTF-8; widths and limits count characters, so that the columns stay aligned.
using quantities::characterCount;

// "%*s": right-aligned in `width` characters, never cut.
std::string rightAligned(const std::string& text, int width) {
  const auto w = static_cast<std::size_t>(std::max(width, 0));
  const std::size_t n = characterCount(text);
  return n >= w ? text : std::string(w - n, ' ') + text;
}

// "%-*s": left-aligned in `width` characters, never cut.
std::string leftAligned(const std::string& text, std::size_t width) {
  const std::size_t n = characterCount(text);
  return n >= width ? text : text + std::string(width - n, ' ');
}

std::size_t columnWidth(const TextColumn& c) {
  return static_cast<std::size_t>(std::max(c.width, 0));
}

std::string rainText(std::optional<double> amount) {
  if (!amount) return "    ---";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", *amount);
  return buf;
}

}  // namespace

std::vector<TextColumn> columnsOf(const DataList& list, const std::vector<DataSet>& sets) {
  std::vector<TextColumn> out;
  for (const DataListItem& item : list.items) {
    if (item.set < 0 || static_cast<std::size_t>(item.set) >= sets.size()) continue;
    const auto& rows = sets[static_cast<std::size_t>(item.set)].rows;
    if (item.row < 0 || static_cast<std::size_t>(item.row) >= rows.size()) continue;
    const DataSetRow& r = rows[static_cast<std::size_t>(item.row)];
    out.push_back({r.label1, r.label2, r.width, r.blanks, r.code});
  }
  return out;
}

bool isRainAmountCode(std::uint32_t code) {
  return ((code >> 5) & 0x1F) == 2 && (code & 0x1F) == 0;
}

std::array<std::string, 3> fixedHeadings(std::span<const TextColumn> columns,
                                         const LineLayout& layout) {
  const std::string date = platform::loadString(kDateStringId);
  std::array<std::string, 3> lines;
  if (layout.timeColumn) {
    lines[0] = std::string(15, ' ');
    lines[1] = "  " + leftAligned(date, 5) + "  " + " " +
               leftAligned(platform::loadString(kTimeStringId), 5);
  } else {
    lines[0] = std::string(8, ' ');
    lines[1] = "  " + leftAligned(date, 5) + " ";
  }
  std::size_t width = layout.timeColumn ? 15 : 8;
  for (std::size_t i = layout.firstColumn; i < columns.size(); ++i) {
    const TextColumn& c = columns[i];
    if (characterCount(lines[0]) + 1 + columnWidth(c) > layout.limit) break;
    lines[0] += rightAligned(dropCaret(c.label1), c.width);
    lines[1] += rightAligned(dropCaret(c.label2), c.width);
    width += columnWidth(c);
  }
  const std::size_t cap = layout.limit > 0 ? layout.limit - 1 : 0;
  lines[2] = std::string(std::min(width + 2, cap), '-');
  return lines;
}

std::string fixedRecordLine(std::span<const TextColumn> columns, const LineLayout& layout,
                            const RecordValues& record, bool dailyRecord) {
  std::string line = leftAligned(record.dateText(), 8);
  if (layout.timeColumn)
    line += dailyRecord ? std::string(7, ' ') : rightAligned(record.timeText(), 7);
  for (std::size_t i = layout.firstColumn; i < columns.size(); ++i) {
    const TextColumn& c = columns[i];
    if (characterCount(line) + 1 + columnWidth(c) > layout.limit) break;
    const int pad = std::clamp(c.pad, 0, std::max(c.width, 0));
    line += rightAligned(record.valueText(c.code), c.width - pad);
    line += std::string(static_cast<std::size_t>(pad), ' ');
  }
  return line;
}

std::array<std::string, 2> delimitedHeadings(std::span<const TextColumn> columns,
                                             const LineLayout& layout, char separator) {
  std::array<std::string, 2> lines;
  lines[1] = platform::loadString(kDateStringId);
  if (layout.timeColumn) {
    lines[0] = std::string(1, separator);
    lines[1] += separator + platform::loadString(kTimeStringId);
  }
  for (std::size_t k = 0; k < 2; ++k) {
    for (std::size_t i = layout.firstColumn; i < columns.size(); ++i) {
      const std::string label = dropCaret(k == 0 ? columns[i].label1 : columns[i].label2);
      if (characterCount(lines[k]) + 1 + characterCount(label) > layout.limit) break;
      lines[k] += separator + label;
    }
  }
  return lines;
}

std::string delimitedRecordLine(std::span<const TextColumn> columns, const LineLayout& layout,
                                const RecordValues& record, char separator) {
  std::string line = record.dateText();
  if (layout.timeColumn) line += separator + record.exportTimeText();
  for (std::size_t i = layout.firstColumn; i < columns.size(); ++i) {
    const std::uint32_t code = columns[i].code;
    const std::string text =
        isRainAmountCode(code) ? rainText(record.rainAmount(code)) : record.valueText(code);
    if (characterCount(line) + 1 + characterCount(text) > layout.limit) break;
    line += separator + text;
  }
  return line;
}

}  // namespace station
