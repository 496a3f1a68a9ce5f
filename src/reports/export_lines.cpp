#include "reports/export_lines.h"

#include <optional>

#include "database/weather_objects.h"
#include "platform/string_table.h"
#include "quantities/date_text.h"
#include "quantities/record_values.h"
#include "reports/export_text_ids.h"
#include "reports/report_format.h"
#include "station/archive_record_values.h"
#include "station/record_text.h"

namespace reports {

namespace {

constexpr int kMidnight = 1440;
// Export lines take every column of the list: the cut only guards against a runaway list.
constexpr std::size_t kExportLineLimit = 65535;
constexpr std::size_t kPrintLineLimit = 384;

// The records of an export: 24:00 may be shown as 00:00 of the next day.
class ExportRecordValues : public station::ArchiveRecordValues {
 public:
  // `dayText` and `nextDayText` are the date texts of the record's day and the next.
  ExportRecordValues(const database::WeatherDataObject& obj, const quantities::ValueContext& ctx,
                     Midnight midnight, const std::string& dayText,
                     const std::string& nextDayText)
      : ArchiveRecordValues(obj, ctx), midnight_(midnight), day_(dayText), nextDay_(nextDayText) {}
  std::string dateText() const override {
    return obj_.date.minutes == kMidnight && midnight_ == Midnight::k00 ? nextDay_ : day_;
  }
  std::string exportTimeText() const override {
    if (obj_.date.minutes == kMidnight && midnight_ == Midnight::k24) {
      return formatLine("24%s00", {std::string_view(&ctx_.intl.timeSeparator, 1)});
    }
    return ArchiveRecordValues::exportTimeText();
  }

 private:
  Midnight midnight_;
  const std::string& day_;
  const std::string& nextDay_;
};

}  // namespace

platform::Result<std::string> exportLines(const ExportJob& job,
                                          const std::vector<DayRecords>& days,
                                          ExportLayout layout, Midnight midnight) {
  const station::StationState& st = job.station;
  std::vector<station::TextColumn> columns;
  if (!st.dataLists.empty()) columns = station::columnsOf(st.dataLists[0], st.dataSets);
  const quantities::ValueContext ctx = job.conventions.values(st.config.skinFactor());
  const bool fixed = layout == ExportLayout::kFixed;
  const station::LineLayout lines{fixed ? kPrintLineLimit : kExportLineLimit, 0, true};
  std::string out;
  if (fixed) {
    for (const std::string& h : station::fixedHeadings(columns, lines)) out += h + "\n";
  } else {
    for (const std::string& h : station::delimitedHeadings(columns, lines, '\t')) out += h + "\n";
  }
  std::size_t records = 0;
  for (const DayRecords& day : days) records += static_cast<std::size_t>(day.count);
  database::WeatherDataObject obj;
  for (const DayRecords& day : days) {
    records::DateTime date;
    date.setPacked(day.packed);
    const std::string dayText = quantities::shortDateText(date, ctx.intl);
    date.nextDay();
    const std::string nextDayText = quantities::shortDateText(date, ctx.intl);
    for (int n = day.firstArchive; n < day.firstArchive + day.count; ++n) {
      if (job.db.GetRecord(obj, n) != database::kResultOk) {
        return platform::Status::io(platform::loadString(export_text::kRecordReadFailed));
      }
      const ExportRecordValues values(obj, ctx, midnight, dayText, nextDayText);
      const std::string line = fixed ? station::fixedRecordLine(columns, lines, values)
                                     : station::delimitedRecordLine(columns, lines, values, '\t');
      // A year of lines runs to megabytes: room for all of them at the first.
      if (out.capacity() < records * (line.size() + 8)) {
        out.reserve(out.size() + records * (line.size() + 8));
      }
      out += line;
      out += '\n';
    }
  }
  return out;
}

platform::Result<std::string> writeExportFile(platform::FileSystem& files, const ExportJob& job,
                                              const std::vector<DayRecords>& days,
                                              Midnight midnight, const std::string& path) {
  platform::Result<std::string> text = exportLines(job, days, ExportLayout::kDelimited, midnight);
  if (!text) return text.status();
  const std::string target =
      path.empty() ? job.station.config.stationDir() + "/" + std::string(kExportFile) : path;
  if (platform::Status s = files.replaceFileAtomically(target, *text); !s) {
    return platform::Status::io(formatLine(platform::stringText(export_text::kCannotOpen),
                                           {std::string_view(target)}) +
                                " (" + s.message() + ")");
  }
  return target;
}

}  // namespace reports
