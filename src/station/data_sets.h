#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace station {

// One row of a data set: a weather variable as the sensor catalogue describes it.
struct DataSetRow {
  std::string longName;
  std::uint32_t code = 0;  // SensorCode
  std::string label1;      // "^" stands for an empty line
  std::string label2;
  int width = 7;  // column width of the fixed-width text lines
  int pad = 0;    // blanks after the right-aligned value inside the column
  std::string shortName;
  std::array<std::int32_t, 4> colours{};
  int flag = 0;
};

// A named, ordered list of rows.
struct DataSet {
  std::string name;
  std::vector<DataSetRow> rows;
};

// The three sets every station has, in this order, and their names.
inline constexpr std::size_t kArchiveSet = 0;
inline constexpr std::size_t kDailySet = 1;
inline constexpr std::size_t kOverlaySet = 2;
inline constexpr const char* kDataSetNames[] = {"Archive Data Values", "Daily Data Values",
                                                "Overlay Variables Set"};
// String ids of the first row of each set in the catalogue.
inline constexpr int kDataSetFirstIds[] = {10000, 12000, 14000};

// One row as a "DataSets.dat" line, without its line feed:
// "%s\t\t%d\t%s\t%s\t%d\t%d\t%s\t%d\t%d\t%d\t%d\t%d\t".
std::string formatDataSetRow(const DataSetRow& row);

// The whole "DataSets.dat": per set its name, its rows, then ".".
std::string formatDataSetsFile(const std::vector<DataSet>& sets);

// The row count of each set, as the data lists check their items against.
std::vector<std::size_t> dataSetSizes(const std::vector<DataSet>& sets);

}  // namespace station
