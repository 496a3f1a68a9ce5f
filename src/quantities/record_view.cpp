#include "quantities/record_view.h"

#include "quantities/date_text.h"
#include "quantities/text_format.h"
#include "quantities/value_strings.h"

namespace quantities {

std::vector<ViewLine> recordView(const records::ArchiveRecord& record,
                                 const SensorCatalogue& catalogue, const ValueContext& ctx,
                                 const std::optional<records::DateTime>& date) {
  std::vector<ViewLine> lines;
  if (date) lines.push_back({"Fecha", shortDateText(*date, ctx.intl)});
  lines.push_back({"Hora", recordTimeText(record.timeOfDay(), ctx.intl)});
  const CatalogueSet* set = catalogue.findSet(kArchiveSetName);
  if (set == nullptr) return lines;
  for (const CatalogueRow& row : set->rows) {
    std::string value = GetWeatherDataStr(record, row.code, ctx);
    const std::string unit = GetUnitStr(ctx.units, row.code);
    const bool noData = value.find(kDash3) != std::string::npos;
    if (!noData && !unit.empty()) value += " " + unit;
    lines.push_back({row.longName, std::move(value)});
  }
  return lines;
}

}  // namespace quantities
