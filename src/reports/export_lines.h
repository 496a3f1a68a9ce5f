#pragma once

// The picked records as the lines of the station's first data list: the delimited
// layout with tabs (the export file and the copy) or the fixed-width layout (printing).

#include <string>
#include <vector>

#include "database/weather_database.h"
#include "platform/file_system.h"
#include "platform/status.h"
#include "quantities/user_conventions.h"
#include "reports/export_selection.h"
#include "station/station_state.h"

namespace reports {

inline constexpr std::string_view kExportFile = "export.txt";

enum class ExportLayout { kDelimited, kFixed };
// How a record stamped 24:00 shows: as 00:00 of the next day, or as 24:00 of its own.
enum class Midnight { k00, k24 };

struct ExportJob {
  database::WeatherDatabase& db;  // open
  const station::StationState& station;
  const quantities::UserConventions& conventions;
};

// The headings and one line per record of the days, in their order. A record that
// cannot be read fails with "Error obteniendo registro de la base de datos.".
platform::Result<std::string> exportLines(const ExportJob& job,
                                          const std::vector<DayRecords>& days,
                                          ExportLayout layout, Midnight midnight);

// Writes the delimited lines to `path` (the station directory's export.txt when empty),
// whole or not at all, and returns the path written.
platform::Result<std::string> writeExportFile(platform::FileSystem& files, const ExportJob& job,
                                              const std::vector<DayRecords>& days,
                                              Midnight midnight, const std::string& path = {});

}  // namespace reports
