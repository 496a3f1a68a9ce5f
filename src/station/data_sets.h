#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "quantities/sensor_catalogue.h"

namespace station {

// A data set is a named list of catalogue rows; a station's data sets are always the
// sensor catalogue's three sets, in the catalogue's order.
using DataSetRow = quantities::CatalogueRow;
using DataSet = quantities::CatalogueSet;

// The set indexes data lists use.
inline constexpr std::size_t kArchiveSet = 0;
inline constexpr std::size_t kDailySet = 1;
inline constexpr std::size_t kOverlaySet = 2;

// The archive, daily and overlay sets of `catalogue`, in that order; a set the catalogue
// lacks is present and empty, so the indexes stay the same.
std::vector<DataSet> catalogueDataSets(const quantities::SensorCatalogue& catalogue);

// The data sets of every station: catalogueDataSets() of the program's catalogue.
std::vector<DataSet> stationDataSets();

// The whole "DataSets.dat": per set its name, one catalogue-format line per row, then ".".
std::string formatDataSetsFile(const std::vector<DataSet>& sets);

// The row count of each set, as the data lists check their items against.
std::vector<std::size_t> dataSetSizes(const std::vector<DataSet>& sets);

}  // namespace station
