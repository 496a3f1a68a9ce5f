#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "station/data_lists.h"
#include "station/data_sets.h"

namespace station {

// One column of the record-to-text lines, taken from a data-set row.
struct TextColumn {
  std::string label1;
  std::string label2;
  int width = 7;
  int pad = 0;
  std::uint32_t code = 0;  // SensorCode of the value
};

// The columns of `list`, in order, from the rows of `sets`. Items that do not point at a
// row are skipped.
std::vector<TextColumn> columnsOf(const DataList& list, const std::vector<DataSet>& sets);

// The texts of one record as the lines show them.
class RecordValues {
 public:
  virtual ~RecordValues() = default;
  virtual std::string dateText() const = 0;
  // The time of day of the fixed-width lines.
  virtual std::string timeText() const = 0;
  // The time of day of the delimited lines.
  virtual std::string exportTimeText() const = 0;
  // The value of `code` as text; the catalogue's no-data text when there is none.
  virtual std::string valueText(std::uint32_t code) const = 0;
  // A rain amount in the user's rain unit; nullopt for no data.
  virtual std::optional<double> rainAmount(std::uint32_t code) const = 0;
};

// How the lines are cut: columns from `firstColumn` on are added while the line stays
// within `limit` characters; `timeColumn` adds the time after the date.
struct LineLayout {
  std::size_t limit = 384;
  std::size_t firstColumn = 0;
  bool timeColumn = true;
};

// Fixed-width layout (the download text file, printed listings): three heading lines.
std::array<std::string, 3> fixedHeadings(std::span<const TextColumn> columns,
                                         const LineLayout& layout);
// One record in the fixed-width layout. `dailyRecord` shows blanks in place of the time.
std::string fixedRecordLine(std::span<const TextColumn> columns, const LineLayout& layout,
                            const RecordValues& record, bool dailyRecord = false);

// Delimited layout (copy and export) with separator `separator`: two heading lines.
std::array<std::string, 2> delimitedHeadings(std::span<const TextColumn> columns,
                                             const LineLayout& layout, char separator);
std::string delimitedRecordLine(std::span<const TextColumn> columns, const LineLayout& layout,
                                const RecordValues& record, char separator);

// True for a rain-amount code: unit class (bits 5-9) 2 and no derived quantity (bits 0-4).
bool isRainAmountCode(std::uint32_t code);

}  // namespace station
