#include "station/data_sets.h"

namespace station {

std::vector<DataSet> catalogueDataSets(const quantities::SensorCatalogue& catalogue) {
  std::vector<DataSet> out;
  for (std::string_view name :
       {quantities::kArchiveSetName, quantities::kDailySetName, quantities::kOverlaySetName}) {
    const DataSet* set = catalogue.findSet(name);
    out.push_back(set != nullptr ? *set : DataSet{std::string(name), {}});
  }
  return out;
}

std::vector<DataSet> stationDataSets() {
  return catalogueDataSets(quantities::SensorCatalogue::fromStringTable());
}

std::string formatDataSetsFile(const std::vector<DataSet>& sets) {
  std::string out;
  for (const DataSet& set : sets) {
    out += set.name + "\n";
    for (const DataSetRow& row : set.rows) out += quantities::formatCatalogueRow(row) + "\n";
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
