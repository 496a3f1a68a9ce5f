#pragma once

// The sensor catalogue: every weather variable the program shows, with its names, labels,
// column layout and colours, read from the string table in named sets.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "quantities/sensor_code.h"

namespace quantities {

struct CatalogueRow {
  std::string longName;
  SensorCode code = 0;
  std::string label1;  // "^" stands for an empty line
  std::string label2;
  int width = 0;   // column width of the fixed-width text lines
  int blanks = 0;  // blanks after the right-aligned value
  std::string shortName;
  std::array<std::uint32_t, 4> colours{};  // 0x00BBGGRR
  int flag = 0;
};

struct CatalogueSet {
  std::string name;
  std::vector<CatalogueRow> rows;
};

// One row from its text: tab-separated columns, with an optional empty column after the
// long name. Empty when the text lacks a column or a number does not parse.
std::optional<CatalogueRow> parseCatalogueRow(std::string_view text);
// The row as text, the inverse of parseCatalogueRow.
std::string formatCatalogueRow(const CatalogueRow& row);

// Results of the lookups, as modules receive them.
inline constexpr int kFound = 1;
inline constexpr int kNotFound = 0;
inline constexpr int kBadArgument = -1601;

class SensorCatalogue {
 public:
  // Reads the archive (10000), daily (12000) and overlay (14000) sets from the program's
  // string table. Rows that do not parse are left out.
  static SensorCatalogue fromStringTable();

  void addSet(CatalogueSet set);
  const std::vector<CatalogueSet>& sets() const { return sets_; }
  // The set of that name, or null.
  const CatalogueSet* findSet(std::string_view name) const;
  // The first row of the archive set with this code, or null. Constant time.
  const CatalogueRow* find(SensorCode code) const;

  // which: 0 first label line, 1 second label line, 2 long name, 3 short name. Copies the
  // text into buffer (cut to size - 1 at a character boundary, terminated). 1 when the
  // code has a row; 0 when not (buffer emptied); -1601 for a null buffer or a bad which.
  int GetSensorName(SensorCode code, int which, char* buffer, std::size_t size) const;
  // which 0 to 3. 1 when found, 0 when not, -1601 for a null output or a bad which.
  int GetSensorColor(SensorCode code, int which, std::uint32_t* colour) const;

 private:
  void reindex();

  std::vector<CatalogueSet> sets_;
  std::unordered_map<SensorCode, std::size_t> archiveIndex_;
  std::size_t archiveSet_ = static_cast<std::size_t>(-1);
};

inline constexpr std::string_view kArchiveSetName = "Archive Data Values";
inline constexpr std::string_view kDailySetName = "Daily Data Values";
inline constexpr std::string_view kOverlaySetName = "Overlay Variables Set";

}  // namespace quantities
