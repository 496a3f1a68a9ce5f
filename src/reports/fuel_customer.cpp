#include "reports/fuel_customer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "platform/string_table.h"
#include "records/month_format.h"
#include "reports/fuel_text_ids.h"
#include "reports/report_data.h"
#include "reports/report_format.h"
#include "station/station_tree.h"

namespace reports {

namespace {

void putU32(std::string& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
std::uint32_t getU32(std::string_view b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
  return v;
}
void putF32(std::string& b, std::size_t at, float v) {
  putU32(b, at, std::bit_cast<std::uint32_t>(v));
}
float getF32(std::string_view b, std::size_t at) { return std::bit_cast<float>(getU32(b, at)); }

// At most width − 1 bytes, so the slot always ends in a zero.
void putText(std::string& b, std::size_t at, std::size_t width, std::string_view v) {
  const std::size_t n = std::min(v.size(), width - 1);
  std::memcpy(b.data() + at, v.data(), n);
}
std::string getText(std::string_view b, std::size_t at, std::size_t width) {
  const std::string_view slot = b.substr(at, width - 1);
  return std::string(slot.substr(0, slot.find('\0')));
}

std::string message(int id, std::initializer_list<FormatArg> args) {
  return formatLine(platform::stringText(id), args);
}

std::string numberText(float v) { return formatLine("%.2f", {static_cast<double>(v)}); }

}  // namespace

bool FuelCustomer::kFactorUsable() const { return std::isfinite(kFactor) && kFactor > 0.0F; }

std::string encodeFuelCustomer(const FuelCustomer& c) {
  std::string b(kFuelRecordSize, '\0');
  putU32(b, fuel::kNumber, c.number);
  putText(b, fuel::kLastName, fuel::kNameWidth, c.lastName);
  putText(b, fuel::kFirstName, fuel::kNameWidth, c.firstName);
  putText(b, fuel::kStreet, fuel::kTextWidth, c.street);
  putText(b, fuel::kCity, fuel::kTextWidth, c.city);
  putF32(b, fuel::kKFactor, c.kFactor);
  putF32(b, fuel::kReading, c.reading);
  putU32(b, fuel::kReadingDate, packReportDate(c.readingDate));
  putU32(b, fuel::kHeaterOn, c.heaterOn ? 1U : 0U);
  putText(b, fuel::kState, fuel::kTextWidth, c.state);
  putF32(b, fuel::kHeaterGallons, c.heaterGallons);
  putText(b, fuel::kPostalCode, fuel::kTextWidth, c.postalCode);
  putText(b, fuel::kComment1, fuel::kTextWidth, c.comment1);
  putText(b, fuel::kComment2, fuel::kTextWidth, c.comment2);
  return b;
}

platform::Result<FuelCustomer> decodeFuelCustomer(std::string_view b) {
  if (b.size() != kFuelRecordSize) return platform::Status::corrupt("size");
  FuelCustomer c;
  c.number = getU32(b, fuel::kNumber);
  const auto date = packedReportDate(getU32(b, fuel::kReadingDate));
  if (!date || c.number > kMaxCustomerNumber) return platform::Status::corrupt("date");
  c.readingDate = *date;
  c.lastName = getText(b, fuel::kLastName, fuel::kNameWidth);
  c.firstName = getText(b, fuel::kFirstName, fuel::kNameWidth);
  c.street = getText(b, fuel::kStreet, fuel::kTextWidth);
  c.city = getText(b, fuel::kCity, fuel::kTextWidth);
  c.state = getText(b, fuel::kState, fuel::kTextWidth);
  c.postalCode = getText(b, fuel::kPostalCode, fuel::kTextWidth);
  c.comment1 = getText(b, fuel::kComment1, fuel::kTextWidth);
  c.comment2 = getText(b, fuel::kComment2, fuel::kTextWidth);
  c.kFactor = getF32(b, fuel::kKFactor);
  c.reading = getF32(b, fuel::kReading);
  c.heaterOn = getU32(b, fuel::kHeaterOn) != 0;
  c.heaterGallons = getF32(b, fuel::kHeaterGallons);
  return c;
}

platform::Status checkFuelCustomer(const FuelCustomer& c) {
  auto bad = [](std::string m) { return platform::Status::badArgument(std::move(m)); };
  if (c.comment1.size() >= fuel::kTextWidth || c.comment2.size() >= fuel::kTextWidth)
    return bad(platform::loadString(fuel_text::kCommentTooLong));
  if (c.number > kMaxCustomerNumber)
    return bad(message(fuel_text::kBadNumber, {static_cast<long long>(c.number)}));
  if (c.lastName.empty()) return bad(platform::loadString(fuel_text::kNeedLastName));
  for (auto [text, width, name] : {std::tuple{&c.lastName, fuel::kNameWidth, "--last"},
                                   std::tuple{&c.firstName, fuel::kNameWidth, "--first"},
                                   std::tuple{&c.street, fuel::kTextWidth, "--street"},
                                   std::tuple{&c.city, fuel::kTextWidth, "--city"},
                                   std::tuple{&c.state, fuel::kTextWidth, "--state"},
                                   std::tuple{&c.postalCode, fuel::kTextWidth, "--postal-code"}}) {
    if (text->size() >= width) {
      return bad(message(fuel_text::kTextTooLong,
                         {std::string_view(name), static_cast<long long>(width - 1)}));
    }
  }
  if (!c.kFactorUsable()) return bad(message(fuel_text::kBadK, {numberText(c.kFactor)}));
  if (!std::isfinite(c.reading))
    return bad(message(fuel_text::kBadReading, {numberText(c.reading)}));
  if (c.reading <= 0.0F)
    return bad(message(fuel_text::kReadingNotPositive, {numberText(c.reading)}));
  if (!records::isValidDate(c.readingDate.year, c.readingDate.month, c.readingDate.day))
    return bad(platform::loadString(fuel_text::kNeedDate));
  if (!std::isfinite(c.heaterGallons) || c.heaterGallons < 0.0F)
    return bad(message(fuel_text::kBadHeater, {numberText(c.heaterGallons)}));
  return platform::Status::ok();
}

std::string fuelDirectory(const std::string& stationDir) {
  return platform::joinPath(stationDir, station::kFuelDir);
}

std::string fuelCustomerPath(const std::string& stationDir, std::uint32_t number) {
  return platform::joinPath(fuelDirectory(stationDir), std::to_string(number) + ".dat");
}

std::optional<std::uint32_t> customerNumberOfFile(std::string_view name) {
  constexpr std::string_view kExt = ".dat";
  if (name.size() <= kExt.size() || name.substr(name.size() - kExt.size()) != kExt)
    return std::nullopt;
  const std::string_view digits = name.substr(0, name.size() - kExt.size());
  if (digits.size() > 8) return std::nullopt;
  std::uint32_t v = 0;
  for (char ch : digits) {
    if (ch < '0' || ch > '9') return std::nullopt;
    v = v * 10 + static_cast<std::uint32_t>(ch - '0');
  }
  // One file per number: "007.dat" is not the file of customer 7.
  if (std::to_string(v) != digits) return std::nullopt;
  return v;
}

namespace {

platform::Status unreadable(std::string_view what) {
  return platform::Status::corrupt(message(fuel_text::kUnreadableCustomer, {what}));
}

platform::Result<FuelCustomer> readCustomerFile(platform::FileSystem& files,
                                                const std::string& path, std::uint32_t number) {
  auto bytes = files.readFile(path);
  if (!bytes) {
    if (bytes.status().kind() == platform::Errc::kNotFound) {
      return platform::Status::notFound(
          message(fuel_text::kNoSuchCustomer, {static_cast<long long>(number)}));
    }
    return unreadable(std::to_string(number));
  }
  auto c = decodeFuelCustomer(*bytes);
  if (!c || c->number != number) return unreadable(std::to_string(number));
  return c;
}

}  // namespace

FuelCustomers readFuelCustomers(platform::FileSystem& files, const std::string& stationDir) {
  FuelCustomers out;
  const std::string dir = fuelDirectory(stationDir);
  if (!files.isDirectory(dir)) return out;
  auto entries = files.listDirectory(dir);
  if (!entries) {
    out.problems.push_back(entries.status().message());
    return out;
  }
  for (const platform::DirEntry& e : *entries) {
    if (e.isDirectory) continue;
    const std::string_view name = e.name;
    if (name.size() < 4 || name.substr(name.size() - 4) != ".dat") continue;
    const auto number = customerNumberOfFile(name);
    if (!number) {
      out.problems.push_back(unreadable(name.substr(0, name.size() - 4)).message());
      continue;
    }
    auto c = readCustomerFile(files, platform::joinPath(dir, e.name), *number);
    if (!c) {
      out.problems.push_back(c.status().message());
      continue;
    }
    out.customers.push_back(std::move(*c));
  }
  std::sort(out.customers.begin(), out.customers.end(),
            [](const FuelCustomer& a, const FuelCustomer& b) { return a.number < b.number; });
  return out;
}

platform::Result<FuelCustomer> readFuelCustomer(platform::FileSystem& files,
                                                const std::string& stationDir,
                                                std::uint32_t number) {
  return readCustomerFile(files, fuelCustomerPath(stationDir, number), number);
}

platform::Status saveFuelCustomer(platform::FileSystem& files, const std::string& stationDir,
                                  const FuelCustomer& c, std::optional<std::uint32_t> previous) {
  if (platform::Status s = checkFuelCustomer(c); !s) return s;
  const std::string path = fuelCustomerPath(stationDir, c.number);
  const bool renumbered = previous && *previous != c.number;
  if ((!previous || renumbered) && files.exists(path)) {
    return platform::Status::badArgument(
        message(fuel_text::kNumberInUse, {static_cast<long long>(c.number)}));
  }
  auto failed = [](const platform::Status& s) {
    return platform::Status(platform::Errc::kIo,
                            message(fuel_text::kSaveFailed, {static_cast<long long>(s.code())}) +
                                " (" + s.message() + ")");
  };
  if (platform::Status s = files.createDirectories(fuelDirectory(stationDir)); !s) return failed(s);
  if (platform::Status s = files.replaceFileAtomically(path, encodeFuelCustomer(c)); !s)
    return failed(s);
  if (renumbered) {
    if (platform::Status s = files.removeFile(fuelCustomerPath(stationDir, *previous)); !s)
      return failed(s);
  }
  return platform::Status::ok();
}

platform::Status deleteFuelCustomer(platform::FileSystem& files, const std::string& stationDir,
                                    std::uint32_t number) {
  const std::string path = fuelCustomerPath(stationDir, number);
  if (!files.exists(path)) {
    return platform::Status::notFound(
        message(fuel_text::kNoSuchCustomer, {static_cast<long long>(number)}));
  }
  return files.removeFile(path);
}

}  // namespace reports
