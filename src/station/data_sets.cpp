#include "station/data_sets.h"

namespace station {

std::string formatDataSetRow(const DataSetRow& row) {
  std::string out;
  auto field = [&out](const std::string& text) {
    out += text;
    out += '\t';
  };
  auto number = [&out](long long v) {
    out += std::to_string(v);
    out += '\t';
  };
  field(row.longName);
  out += '\t';
  number(static_cast<std::int32_t>(row.code));
  field(row.label1);
  field(row.label2);
  number(row.width);
  number(row.pad);
  field(row.shortName);
  for (std::int32_t c : row.colours) number(c);
  number(row.flag);
  return out;
}

std::string formatDataSetsFile(const std::vector<DataSet>& sets) {
  std::string out;
  for (const DataSet& set : sets) {
    out += set.name + "\n";
    for (const DataSetRow& row : set.rows) out += formatDataSetRow(row) + "\n";
    out += ".\n";
  }
  return out;
}

std::vector<std::size_t> dataSetSizes(const std::vector<DataSet>& sets) {
  std::vector<std::size_t> sizes;
  sizes.reserve(sets.size());
  for (const DataSet& s : sets) sizes.push_back(s.rows.size());
  return sizes;
}

}  // namespace station
