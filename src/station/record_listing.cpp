#include "station/record_listing.h"

#include "station/archive_record_values.h"

#include "database/weather_database.h"
#include "database/weather_objects.h"
#include "platform/intl_settings.h"
#include "quantities/date_text.h"
#include "quantities/record_values.h"
#include "quantities/units.h"

namespace station {


platform::Status printRecords(platform::FileSystem& files, const StationState& station,
                              const ListingRequest& request,
                              const quantities::UserConventions& conventions, std::ostream& out) {
  if (request.list >= station.dataLists.size()) {
    return platform::Status::badArgument(
        "the station has " + std::to_string(station.dataLists.size()) + " data lists; list " +
        std::to_string(request.list) + " does not exist");
  }
  const std::vector<TextColumn> columns =
      columnsOf(station.dataLists[request.list], station.dataSets);
  const quantities::ValueContext ctx = conventions.values(station.config.skinFactor());
  const LineLayout layout{request.limit, request.firstColumn, true};
  if (request.separator == 0) {
    for (const std::string& h : fixedHeadings(columns, layout)) out << h << "\n";
  } else {
    for (const std::string& h : delimitedHeadings(columns, layout, request.separator))
      out << h << "\n";
  }

  database::WeatherDatabase db(files);
  db.open(station.config.stationDir());
  const int count = db.NumberOfRecordsInDataBase();
  database::WeatherDataObject obj;
  for (int n = 0; n < count; ++n) {
    if (db.GetRecord(obj, n) != database::kResultOk) {
      return platform::Status::io(station.config.stationDir() + ": archive record " +
                                  std::to_string(n) + " cannot be read");
    }
    const std::int32_t day = obj.date.packed();
    if (request.fromPacked != 0 && day < request.fromPacked) continue;
    if (request.toPacked != 0 && day > request.toPacked) break;
    const ArchiveRecordValues values(obj, ctx);
    out << (request.separator == 0
                ? fixedRecordLine(columns, layout, values)
                : delimitedRecordLine(columns, layout, values, request.separator))
        << "\n";
  }
  return db.close();
}

}  // namespace station
