#pragma once

// A heating-fuel customer: one 1284-byte file "<number>.dat" in the station's Fuel
// directory. Texts are zero-terminated in fixed slots; every byte the record does not use
// is zero. Files are replaced atomically, and a file is taken as a customer only when its
// name is its number, its size is exact and its reading date is a real day.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"
#include "quantities/date_text.h"

namespace reports {

inline constexpr std::size_t kFuelRecordSize = 1284;
inline constexpr std::uint32_t kMaxCustomerNumber = 99999999;
inline constexpr float kDefaultHeaterGallons = 2.0F;

namespace fuel {
inline constexpr std::size_t kNumber = 0;           // u32
inline constexpr std::size_t kLastName = 4;         // char[40]
inline constexpr std::size_t kFirstName = 44;       // char[40]
inline constexpr std::size_t kStreet = 84;          // char[80]
inline constexpr std::size_t kCity = 164;           // char[80]
inline constexpr std::size_t kKFactor = 244;        // f32
inline constexpr std::size_t kReading = 248;        // f32
inline constexpr std::size_t kReadingDate = 252;    // u32, packed date
inline constexpr std::size_t kHeaterOn = 256;       // u32
inline constexpr std::size_t kState = 260;          // char[80]
inline constexpr std::size_t kHeaterGallons = 400;  // f32
inline constexpr std::size_t kPostalCode = 404;     // char[80]
inline constexpr std::size_t kComment1 = 484;       // char[80]
inline constexpr std::size_t kComment2 = 564;       // char[80]
inline constexpr std::size_t kNameWidth = 40;
inline constexpr std::size_t kTextWidth = 80;
}  // namespace fuel

struct FuelCustomer {
  std::uint32_t number = 0;
  std::string lastName, firstName, street, city, state, postalCode, comment1, comment2;
  float kFactor = 0.0F;  // heating °F·days per gallon
  float reading = 0.0F;  // gallons in the tank at the last reading
  quantities::Date readingDate{2000, 1, 1};
  bool heaterOn = false;
  float heaterGallons = kDefaultHeaterGallons;  // per day

  // A K factor the estimate can divide by.
  bool kFactorUsable() const;
};

// The record bytes; texts longer than their slot are cut to it.
std::string encodeFuelCustomer(const FuelCustomer& c);
// From exactly 1284 bytes with a real reading date; kCorrupt otherwise.
platform::Result<FuelCustomer> decodeFuelCustomer(std::string_view bytes);

// A customer as a person entered it, before it is saved: the first problem found, with
// the message that names it (texts too long for their slot, K at or below 0, a reading at
// or below 0, negative heater gallons).
platform::Status checkFuelCustomer(const FuelCustomer& c);

std::string fuelDirectory(const std::string& stationDir);
std::string fuelCustomerPath(const std::string& stationDir, std::uint32_t number);

// "<number>.dat" with a number 0-99999999 and nothing else in the name.
std::optional<std::uint32_t> customerNumberOfFile(std::string_view fileName);

struct FuelCustomers {
  std::vector<FuelCustomer> customers;  // by number
  std::vector<std::string> problems;    // one message per unreadable customer file
};
// Every customer of the station; no Fuel directory means none.
FuelCustomers readFuelCustomers(platform::FileSystem& files, const std::string& stationDir);
platform::Result<FuelCustomer> readFuelCustomer(platform::FileSystem& files,
                                                const std::string& stationDir,
                                                std::uint32_t number);

// Writes the customer, creating the Fuel directory on the first save. With `previous`
// set to another number the customer is renumbered: the new number must be free, and the
// old file is removed only once the new one is written.
platform::Status saveFuelCustomer(platform::FileSystem& files, const std::string& stationDir,
                                  const FuelCustomer& c,
                                  std::optional<std::uint32_t> previous = std::nullopt);
platform::Status deleteFuelCustomer(platform::FileSystem& files, const std::string& stationDir,
                                    std::uint32_t number);

}  // namespace reports
