#include "reports/fuel_report.h"

#include <algorithm>
#include <tuple>

#include "platform/string_table.h"
#include "records/month_format.h"
#include "reports/fuel_text_ids.h"
#include "reports/report_data.h"
#include "reports/report_format.h"

namespace reports {

namespace {

std::string text(int id, std::initializer_list<FormatArg> args) {
  return formatLine(platform::stringText(id), args);
}

std::string dateText(const quantities::Date& d, const platform::IntlSettings& intl) {
  return quantities::shortDateText(records::DateTime::fromDate(d.year, d.month, d.day), intl);
}

std::string gallonsText(const FuelReportLine& l) {
  if (!l.estimate) return "---";
  return formatLine("%.2f", {l.estimate->gallons});
}

std::string kText(const FuelCustomer& c) {
  if (!c.kFactorUsable()) return "---";
  return formatLine("%.2f", {static_cast<double>(c.kFactor)});
}

void appendFull(std::string& out, const FuelReportLine& l, const platform::IntlSettings& intl) {
  const FuelCustomer& c = l.customer;
  out += text(fuel_text::kFullName,
              {platform::stringText(fuel_text::kFullLabel), std::string_view(c.lastName),
               std::string_view(c.firstName), static_cast<long long>(c.number)});
  out += text(fuel_text::kFullStreet, {std::string_view(c.street)});
  out += text(fuel_text::kFullCity, {std::string_view(c.city), std::string_view(c.state),
                                     std::string_view(c.postalCode)});
  if (l.estimate && l.estimate->emptyOn) {
    out += text(fuel_text::kRanOut, {std::string_view(c.lastName),
                                     dateText(*l.estimate->emptyOn, intl), std::string_view("")});
  } else {
    out += text(fuel_text::kFullGallons, {gallonsText(l)});
  }
  out += text(fuel_text::kFullReading,
              {static_cast<double>(c.reading), dateText(c.readingDate, intl)});
  out += text(fuel_text::kFullK, {kText(c)});
  out += c.heaterOn ? text(fuel_text::kFullHeater, {static_cast<double>(c.heaterGallons)})
                    : platform::loadString(fuel_text::kFullNoHeater);
  for (const std::string* comment : {&c.comment1, &c.comment2}) {
    if (!comment->empty()) out += text(fuel_text::kFullComment, {std::string_view(*comment)});
  }
  out += "\n";
}

void appendShort(std::string& out, const FuelReportLine& l, const platform::IntlSettings& intl) {
  const FuelCustomer& c = l.customer;
  if (l.estimate && l.estimate->emptyOn) {
    out += text(fuel_text::kRanOut,
                {std::string_view(c.lastName), dateText(*l.estimate->emptyOn, intl),
                 std::string_view(c.street)});
    return;
  }
  out += text(fuel_text::kShortLine,
              {std::string_view(c.lastName), gallonsText(l), std::string_view(c.street)});
}

}  // namespace

FuelReportOptions FuelReportOptions::fromStation(const station::StationConfig& config) {
  const ReportSettings s(config);
  return {s.fuelFullReport(), s.fuelSortByName(), s.fuelOnlyBelowThreshold(), s.fuelThreshold()};
}

void FuelReportOptions::store(station::StationConfig& config) const {
  config.set(data::kFuelFullReport, static_cast<std::uint8_t>(full ? 1 : 0));
  config.set(data::kFuelSortByName, static_cast<std::uint8_t>(sortByName ? 1 : 0));
  config.set(data::kFuelOnlyBelow, static_cast<std::uint8_t>(onlyBelow ? 1 : 0));
  config.set(data::kFuelThreshold, static_cast<float>(threshold));
}

platform::Result<std::string> fuelReportText(FuelDays& days, std::vector<FuelCustomer> customers,
                                             const FuelReportOptions& options,
                                             const quantities::Date& today,
                                             const platform::IntlSettings& intl) {
  if (days.db().dayList().empty()) {
    return platform::Status::notFound(platform::loadString(fuel_text::kNoDataForReport));
  }
  std::vector<FuelReportLine> lines;
  lines.reserve(customers.size());
  for (FuelCustomer& c : customers) {
    FuelReportLine line{std::move(c), std::nullopt};
    if (line.customer.kFactorUsable()) {
      auto e = estimateFuel(days, line.customer);
      if (!e) return e.status();
      line.estimate = *e;
    }
    if (options.onlyBelow && !(line.estimate && line.estimate->gallons < options.threshold))
      continue;
    lines.push_back(std::move(line));
  }
  if (options.onlyBelow && lines.empty()) {
    return platform::Status::notFound(platform::loadString(fuel_text::kNoneSelected));
  }
  if (options.sortByName) {
    std::stable_sort(
        lines.begin(), lines.end(), [](const FuelReportLine& a, const FuelReportLine& b) {
          return std::tie(a.customer.lastName, a.customer.firstName, a.customer.number) <
                 std::tie(b.customer.lastName, b.customer.firstName, b.customer.number);
        });
  } else {
    // Customers without an estimate go last.
    std::stable_sort(lines.begin(), lines.end(),
                     [](const FuelReportLine& a, const FuelReportLine& b) {
                       if (!a.estimate || !b.estimate)
                         return a.estimate.has_value() && !b.estimate.has_value();
                       return a.estimate->gallons < b.estimate->gallons;
                     });
  }
  std::string out = text(fuel_text::kReportTitle, {dateText(today, intl)});
  if (!options.full) {
    out += platform::stringText(fuel_text::kShortHeader);
    out += repeated('-', 49) + "\n";
  }
  for (const FuelReportLine& l : lines) {
    if (options.full) {
      appendFull(out, l, intl);
    } else {
      appendShort(out, l, intl);
    }
  }
  return out;
}

platform::Result<FuelReportWritten> writeFuelReport(const FuelReportJob& job,
                                                    const FuelReportOptions& options,
                                                    const std::string& path) {
  FuelReportWritten written;
  written.path = path.empty() ? platform::joinPath(job.db.directory(), kFuelReportFile) : path;
  FuelCustomers all = readFuelCustomers(job.files, job.db.directory());
  written.problems = std::move(all.problems);
  FuelDays days(job.db, FuelMethod::fromStation(job.config));
  auto report =
      fuelReportText(days, std::move(all.customers), options, job.today, job.conventions.intl);
  if (!report) return report.status();
  if (platform::Status s = job.files.replaceFileAtomically(written.path, *report); !s) {
    return platform::Status(platform::Errc::kIo,
                            text(fuel_text::kCannotWriteReport, {std::string_view(written.path)}) +
                                " (" + s.message() + ")");
  }
  return written;
}

}  // namespace reports
