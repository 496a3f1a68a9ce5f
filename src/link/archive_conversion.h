#pragma once

// The console's archive records as a download receives them, and their conversion into
// the database's ArchiveRecord. Pure functions: no link, no files.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "records/month_format.h"

namespace stationlink {

inline constexpr std::size_t kConsoleRecordBytes = 52;
inline constexpr int kRecordsPerPage = 5;
inline constexpr std::size_t kArchivePageBytes = 267;  // sequence, 5 records, 4 unused, CRC
inline constexpr std::size_t kStoredPageBytes = 264;   // bytes 1-264 of a good page
inline constexpr int kConsoleArchivePages = 512;
// A full ring whose oldest record does not start a page shares that page with the newest
// record: the dump sends it first (from the oldest record) and again last (up to the
// newest), one page more than the archive holds.
inline constexpr int kMaxDumpPages = kConsoleArchivePages + 1;

using ConsoleRecord = std::span<const std::uint8_t, kConsoleRecordBytes>;

// The DMPAFT stamps: date = (year - 2000) * 512 + month * 32 + day, time = hour * 100 + minute.
struct DumpStamps {
  std::uint16_t date = 0;
  std::uint16_t time = 0;
  bool operator==(const DumpStamps&) const = default;
};

std::uint16_t dumpDateStamp(int year, int month, int day);
// The stamps that ask for every record after `newest`: both 0 when there is no newest
// record or it is from before 2000; a record closing its day (1440) asks from 00:00 of
// the next day.
DumpStamps stampsAfter(const std::optional<records::DateTime>& newest);

// The firmware generation, from the console's firmware date.
struct FirmwareFlags {
  bool first = false;   // on or after 1 March 2002
  bool second = false;  // on or after 22 March 2002
};
FirmwareFlags firmwareFlags(int year, int month, int day, bool valid);

enum class RecordRevision { kA, kIntermediate, kB, kUnknown };
RecordRevision recordRevision(ConsoleRecord record, FirmwareFlags flags);

// The record's date and time: 00:00 is filed as 1440 of the day before. Empty when the
// slot is empty or the stamps are not a real date and time.
std::optional<records::DateTime> consoleRecordTime(ConsoleRecord record);

struct ConversionSettings {
  int archiveInterval = 0;   // minutes, from the console
  int windTransmitter = -1;  // 0 to 7, or -1 when unknown
  int rainCollector = 1;     // the station's collector code, 0 to 6
  // The solar model's estimate for offset 42, given the record's time, its solar
  // radiation (W/m²) and dew point (°F). Unset: no estimate.
  std::function<std::int16_t(const records::DateTime&, int solarRadiation, float dewPointF)>
      solarEstimate;
};

// The ArchiveRecord for one console record, or nothing when its revision is unknown.
std::optional<records::ArchiveRecord> convertConsoleRecord(ConsoleRecord record,
                                                           const records::DateTime& when,
                                                           FirmwareFlags flags,
                                                           const ConversionSettings& settings);

}  // namespace stationlink
