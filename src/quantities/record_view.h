#pragma once

// One archive record as people read it: every variable of the catalogue's archive set
// with its value in the user's units and conventions.

#include <optional>
#include <string>
#include <vector>

#include "records/month_format.h"
#include "quantities/record_values.h"
#include "quantities/sensor_catalogue.h"

namespace quantities {

struct ViewLine {
  std::string name;   // the variable's long name (or "Fecha" / "Hora")
  std::string value;  // value text, followed by its unit text when it has one
};

// Lines in catalogue order, preceded by the date (when given) and the time of the record.
std::vector<ViewLine> recordView(const records::ArchiveRecord& record,
                                 const SensorCatalogue& catalogue, const ValueContext& ctx,
                                 const std::optional<records::DateTime>& date = std::nullopt);

}  // namespace quantities
