#pragma once

// Deleting the picked years, then months, then days of a station's database. Parts of a
// pick already gone with an earlier one (a day of a deleted month) are skipped. With the
// rain database given, each deleted record's rain is taken off its month (never below 0)
// and rain.db saved; years and months no deleted record belongs to stay as they were.

#include <string>

#include "database/rain_database.h"
#include "database/weather_database.h"
#include "platform/status.h"
#include "reports/export_selection.h"

namespace reports {

struct DeleteOutcome {
  int years = 0, months = 0, days = 0;  // deleted, not skipped
  int records = 0;                      // archive records deleted
};

// `rain` may be null: the rain database is then left alone. It must be loaded otherwise.
// A failed delete ends with "Error (%d) eliminando ..."; what was deleted before it stays
// deleted and its rain is taken off.
platform::Result<DeleteOutcome> deleteSelection(database::WeatherDatabase& db,
                                                database::RainDatabase* rain,
                                                const ExportSelection& selection);

}  // namespace reports
