#pragma once

// The byte layout of a station's month files: a 212-byte header with a day index, then
// 88-byte records (per day: summary record A, summary record B, then the day's archive
// records). Everything is little-endian with no padding; fields sit at odd offsets where
// the layout puts them, so records are handled as byte arrays with named offsets and
// never as C++ structs laid over the bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace records {

// ---------------------------------------------------------------------------------------
// File layout

inline constexpr std::size_t kHeaderBytes = 212;
inline constexpr std::size_t kRecordBytes = 88;

inline constexpr std::array<std::uint8_t, 7> kIdentification = {'W', 'D', 'A', 'T', '5', '.', '3'};
inline constexpr std::size_t kHeaderIdentificationOffset = 0;
inline constexpr std::size_t kHeaderIdentificationBytes = 7;
inline constexpr std::size_t kHeaderZeroOffset = 7;  // 7 bytes of zero
inline constexpr std::size_t kHeaderMajorVersionOffset = 14;
inline constexpr std::size_t kHeaderMinorVersionOffset = 15;
inline constexpr std::uint8_t kMajorVersion = 5;
inline constexpr std::uint8_t kMinorVersion = 3;
inline constexpr std::size_t kHeaderRecordCountOffset = 16;  // i32, summaries included
inline constexpr std::size_t kDayIndexOffset = 20;
inline constexpr std::size_t kDayIndexEntries = 32;  // entry 0 unused, days 1 to 31
inline constexpr std::size_t kDayIndexEntryBytes = 6;
inline constexpr std::size_t kDayEntryCountOffset = 0;  // i16, summaries included
inline constexpr std::size_t kDayEntryStartOffset = 2;  // i32, first record number

static_assert(kDayIndexOffset + kDayIndexEntries * kDayIndexEntryBytes == kHeaderBytes);
static_assert(kHeaderIdentificationBytes == kIdentification.size());

// Records of a day block that precede its archive records.
inline constexpr int kSummaryRecordsPerDay = 2;

constexpr std::size_t dayEntryOffset(int day) {
  return kDayIndexOffset + kDayIndexEntryBytes * static_cast<std::size_t>(day);
}

// File offset of record number n (counted from 0 within the file).
constexpr std::uint64_t recordOffset(std::int64_t n) {
  return kHeaderBytes + kRecordBytes * static_cast<std::uint64_t>(n);
}
static_assert(recordOffset(0) == 212 && recordOffset(3) == 212 + 264);

using HeaderBytes = std::array<std::uint8_t, kHeaderBytes>;
using RecordBytes = std::array<std::uint8_t, kRecordBytes>;

// Byte 0 of every record.
inline constexpr std::uint8_t kArchiveRecordType = 1;
inline constexpr std::uint8_t kSummaryARecordType = 2;
inline constexpr std::uint8_t kSummaryBRecordType = 3;

// ---------------------------------------------------------------------------------------
// No-data values

inline constexpr std::int16_t kNoData16 = INT16_MIN;  // 0x8000, the written "none"
inline constexpr std::uint16_t kNoData16Raw = 0x8000;
inline constexpr std::int16_t kLowInit16 = 0x7FFF;  // also reads as none in temperatures
inline constexpr std::uint8_t kNoData8 = 255;
inline constexpr double kNoDataFloat = -32768.0;
inline constexpr std::int16_t kBarometerLowestValid = 16000;  // below reads as none

// Temperatures (and other i16 values that may hold an untouched low): 0x8000 or 0x7FFF.
constexpr bool isNoData16(std::int16_t v) { return v == kNoData16 || v == kLowInit16; }
constexpr bool isBarometerNoData(std::int16_t v) { return v < kBarometerLowestValid || v == 32767; }
constexpr bool isNoData8(std::uint8_t v) { return v == kNoData8; }

// ---------------------------------------------------------------------------------------
// Little-endian access over byte spans. REQUIRES: offset + width <= bytes.size().

inline std::uint8_t getU8(std::span<const std::uint8_t> b, std::size_t off) { return b[off]; }
inline void setU8(std::span<std::uint8_t> b, std::size_t off, std::uint8_t v) { b[off] = v; }

inline std::uint16_t getU16(std::span<const std::uint8_t> b, std::size_t off) {
  return static_cast<std::uint16_t>(b[off] | (b[off + 1] << 8));
}
inline std::int16_t getI16(std::span<const std::uint8_t> b, std::size_t off) {
  return static_cast<std::int16_t>(getU16(b, off));
}
inline void setU16(std::span<std::uint8_t> b, std::size_t off, std::uint16_t v) {
  b[off] = static_cast<std::uint8_t>(v & 0xFF);
  b[off + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void setI16(std::span<std::uint8_t> b, std::size_t off, std::int16_t v) {
  setU16(b, off, static_cast<std::uint16_t>(v));
}
inline std::uint32_t getU32(std::span<const std::uint8_t> b, std::size_t off) {
  return static_cast<std::uint32_t>(b[off]) | (static_cast<std::uint32_t>(b[off + 1]) << 8) |
         (static_cast<std::uint32_t>(b[off + 2]) << 16) |
         (static_cast<std::uint32_t>(b[off + 3]) << 24);
}
inline std::int32_t getI32(std::span<const std::uint8_t> b, std::size_t off) {
  return static_cast<std::int32_t>(getU32(b, off));
}
inline void setU32(std::span<std::uint8_t> b, std::size_t off, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[off + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void setI32(std::span<std::uint8_t> b, std::size_t off, std::int32_t v) {
  setU32(b, off, static_cast<std::uint32_t>(v));
}

// ---------------------------------------------------------------------------------------
// Packed 12-bit values (time slots, wind-direction minutes): pair g lives in the three
// bytes at fieldOffset + 3g; value 2g = b0 | (b2 & 0x0F) << 8, value 2g+1 = b1 |
// (b2 & 0xF0) << 4. Writing one value keeps the other nibble of b2.

inline std::uint16_t getPacked12(std::span<const std::uint8_t> b, std::size_t fieldOffset,
                                 int index) {
  const std::size_t at = fieldOffset + 3 * static_cast<std::size_t>(index / 2);
  const std::uint8_t b2 = b[at + 2];
  if (index % 2 == 0) return static_cast<std::uint16_t>(b[at] | ((b2 & 0x0F) << 8));
  return static_cast<std::uint16_t>(b[at + 1] | ((b2 & 0xF0) << 4));
}
inline void setPacked12(std::span<std::uint8_t> b, std::size_t fieldOffset, int index,
                        std::uint16_t value) {
  const std::size_t at = fieldOffset + 3 * static_cast<std::size_t>(index / 2);
  if (index % 2 == 0) {
    b[at] = static_cast<std::uint8_t>(value & 0xFF);
    b[at + 2] = static_cast<std::uint8_t>((b[at + 2] & 0xF0) | ((value >> 8) & 0x0F));
  } else {
    b[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
    b[at + 2] = static_cast<std::uint8_t>((b[at + 2] & 0x0F) | ((value >> 4) & 0xF0));
  }
}

inline constexpr std::uint16_t kSlotNoTimeA = 0x7FF;  // initial slot of summary record A
inline constexpr std::uint16_t kSlotNoTimeB = 0x800;  // initial slot of summary record B
inline constexpr std::uint16_t kMinutesPerDay = 1440;
constexpr bool isSlotTime(std::uint16_t v) { return v <= kMinutesPerDay; }

// ---------------------------------------------------------------------------------------
// ArchiveRecord field offsets. Temperatures in tenths of a degree F.

inline constexpr std::size_t kArcType = 0;                 // u8, 1
inline constexpr std::size_t kArcInterval = 1;             // u8, minutes 1-255
inline constexpr std::size_t kArcFlags = 2;                // u8
inline constexpr std::size_t kArcTransmitter = 3;          // u8, bits 0-2 id, bit 4 ET sign
inline constexpr std::size_t kArcTime = 4;                 // i16, minutes 1-1440
inline constexpr std::size_t kArcOutsideTemp = 6;          // i16
inline constexpr std::size_t kArcHighOutsideTemp = 8;      // i16
inline constexpr std::size_t kArcLowOutsideTemp = 10;      // i16
inline constexpr std::size_t kArcInsideTemp = 12;          // i16
inline constexpr std::size_t kArcBarometer = 14;           // i16, thousandths inHg
inline constexpr std::size_t kArcOutsideHumidity = 16;     // i16, tenths %
inline constexpr std::size_t kArcInsideHumidity = 18;      // i16, tenths %
inline constexpr std::size_t kArcRain = 20;                // u16, tips | collector << 12
inline constexpr std::size_t kArcHighRainRate = 22;        // i16, tips per hour
inline constexpr std::size_t kArcWindSpeed = 24;           // i16, tenths mph
inline constexpr std::size_t kArcHighWindSpeed = 26;       // i16, tenths mph
inline constexpr std::size_t kArcWindDirection = 28;       // u8, 0-15
inline constexpr std::size_t kArcHighWindDirection = 29;   // u8, 0-15
inline constexpr std::size_t kArcWindSamples = 30;         // i16, negative = none
inline constexpr std::size_t kArcSolarRadiation = 32;      // i16, W/m2
inline constexpr std::size_t kArcHighSolarRadiation = 34;  // i16, W/m2
inline constexpr std::size_t kArcUvIndex = 36;             // u8, tenths
inline constexpr std::size_t kArcHighUvIndex = 37;         // u8, tenths
inline constexpr std::size_t kArcLeafTemps = 38;           // 4 x u8, F + 90
inline constexpr std::size_t kArcSolarEstimate = 42;       // i16, W/m2
inline constexpr std::size_t kArcReserved = 44;            // 6 x i16, 0x8000
inline constexpr std::size_t kArcForecastRule = 56;        // u8
inline constexpr std::size_t kArcEvapotranspiration = 57;  // u8, thousandths inch
inline constexpr std::size_t kArcSoilTemps = 58;           // 6 x u8, F + 90
inline constexpr std::size_t kArcSoilMoistures = 64;       // 6 x u8, centibars
inline constexpr std::size_t kArcLeafWetnesses = 70;       // 4 x u8
inline constexpr std::size_t kArcExtraTemps = 74;          // 7 x u8 (2-8), F + 90
inline constexpr std::size_t kArcExtraHumidities = 81;     // 7 x u8 (2-8), %

inline constexpr int kLeafTempCount = 4;
inline constexpr int kReservedCount = 6;
inline constexpr int kSoilCount = 6;
inline constexpr int kLeafWetnessCount = 4;
inline constexpr int kExtraCount = 7;
inline constexpr int kByteTemperatureBias = 90;  // leaf, soil, extra temperatures

inline constexpr std::uint8_t kArcFlagEdited = 0x10;
inline constexpr std::uint8_t kArcFlagNote = 0x20;
inline constexpr std::uint8_t kArcTransmitterMask = 0x07;
inline constexpr std::uint8_t kArcEtNegative = 0x10;

inline constexpr std::uint16_t kRainTipsMask = 0x0FFF;
inline constexpr int kRainCollectorShift = 12;

static_assert(kArcExtraHumidities + kExtraCount == kRecordBytes);
static_assert(kArcReserved + 2 * kReservedCount == kArcForecastRule);
static_assert(kArcSoilTemps + kSoilCount == kArcSoilMoistures);
static_assert(kArcLeafWetnesses + kLeafWetnessCount == kArcExtraTemps);

// ---------------------------------------------------------------------------------------
// Rain-collector types (bits 12-15 of the rain field): the amount of one tip.

struct RainCollector {
  double inchesPerTip;
  bool totalsValid;  // code 6 is for rates only: a total with it reads as none
};
inline constexpr std::array<RainCollector, 7> kRainCollectors = {{
    {0.1, true},
    {0.01, true},
    {0.2 / 25.4, true},
    {1.0 / 25.4, true},
    {0.01, true},
    {0.2 / 25.4, true},
    {0.1 / 25.4, false},
}};
inline constexpr std::uint8_t kRainCollectorInches = 1;  // written when the unit is inches
inline constexpr std::uint8_t kRainCollectorMm = 2;      // written otherwise

// Inches per tip for `code`, or a negative value for a code outside the table.
constexpr double rainInchesPerTip(int code) {
  return code >= 0 && code < static_cast<int>(kRainCollectors.size())
             ? kRainCollectors[static_cast<std::size_t>(code)].inchesPerTip
             : -1.0;
}

// ---------------------------------------------------------------------------------------
// Summary record A field offsets (slot = its time slot in the packed slots at 61).

inline constexpr std::size_t kSumAType = 0;             // u8, 2
inline constexpr std::size_t kSumAZero = 1;             // u8, 0
inline constexpr std::size_t kSumAMinutes = 2;          // i16, starts at 0
inline constexpr std::size_t kSumAHighOutsideTemp = 4;  // slot 0
inline constexpr std::size_t kSumALowOutsideTemp = 6;   // slot 1
inline constexpr std::size_t kSumAHighInsideTemp = 8;   // slot 2
inline constexpr std::size_t kSumALowInsideTemp = 10;   // slot 3
inline constexpr std::size_t kSumAAvgOutsideTemp = 12;
inline constexpr std::size_t kSumAAvgInsideTemp = 14;
inline constexpr std::size_t kSumAHighWindChill = 16;  // slot 4
inline constexpr std::size_t kSumALowWindChill = 18;   // slot 5
inline constexpr std::size_t kSumAHighDewPoint = 20;   // slot 6
inline constexpr std::size_t kSumALowDewPoint = 22;    // slot 7
inline constexpr std::size_t kSumAAvgWindChill = 24;
inline constexpr std::size_t kSumAAvgDewPoint = 26;
inline constexpr std::size_t kSumAHighOutsideHumidity = 28;  // slot 8
inline constexpr std::size_t kSumALowOutsideHumidity = 30;   // slot 9
inline constexpr std::size_t kSumAHighInsideHumidity = 32;   // slot 10
inline constexpr std::size_t kSumALowInsideHumidity = 34;    // slot 11
inline constexpr std::size_t kSumAAvgOutsideHumidity = 36;
inline constexpr std::size_t kSumAHighBarometer = 38;  // slot 12
inline constexpr std::size_t kSumALowBarometer = 40;   // slot 13
inline constexpr std::size_t kSumAAvgBarometer = 42;
inline constexpr std::size_t kSumAHighWindSpeed = 44;  // slot 14
inline constexpr std::size_t kSumAAvgWindSpeed = 46;
inline constexpr std::size_t kSumAWindRun = 48;             // tenths of a mile
inline constexpr std::size_t kSumAHighWindSpeed2 = 50;      // slot 15
inline constexpr std::size_t kSumAHighWindDirection = 52;   // u8
inline constexpr std::size_t kSumAHighWindDirection2 = 53;  // u8
inline constexpr std::size_t kSumARain = 54;                // thousandths inch
inline constexpr std::size_t kSumAHighRainRate = 56;        // hundredths in/h, slot 16
inline constexpr std::size_t kSumAUvDose = 58;              // tenths MED
inline constexpr std::size_t kSumAHighUvIndex = 60;         // u8, slot 17
inline constexpr std::size_t kSumATimeSlots = 61;           // 27 bytes, 18 slots
inline constexpr int kSumATimeSlotCount = 18;

static_assert(kSumATimeSlots + 3 * kSumATimeSlotCount / 2 == kRecordBytes);

// Time slot numbers in summary record A.
enum SummaryASlot : int {
  kSlotAHighOutsideTemp = 0,
  kSlotALowOutsideTemp = 1,
  kSlotAHighInsideTemp = 2,
  kSlotALowInsideTemp = 3,
  kSlotAHighWindChill = 4,
  kSlotALowWindChill = 5,
  kSlotAHighDewPoint = 6,
  kSlotALowDewPoint = 7,
  kSlotAHighOutsideHumidity = 8,
  kSlotALowOutsideHumidity = 9,
  kSlotAHighInsideHumidity = 10,
  kSlotALowInsideHumidity = 11,
  kSlotAHighBarometer = 12,
  kSlotALowBarometer = 13,
  kSlotAHighWindSpeed = 14,
  kSlotAHighWindSpeed2 = 15,
  kSlotAHighRainRate = 16,
  kSlotAHighUvIndex = 17,
};

// ---------------------------------------------------------------------------------------
// Summary record B field offsets.

inline constexpr std::size_t kSumBType = 0;                 // u8, 3
inline constexpr std::size_t kSumBMarker = 1;               // u8, 255
inline constexpr std::size_t kSumBZero = 2;                 // i16, 0
inline constexpr std::size_t kSumBWindSamples = 4;          // starts 0x8000
inline constexpr std::size_t kSumBHighSolar = 6;            // slot 0
inline constexpr std::size_t kSumBSolarEnergy = 8;          // tenths langley
inline constexpr std::size_t kSumBMinutes2 = 10;            // carried, not filled
inline constexpr std::size_t kSumBEvapotranspiration = 12;  // thousandths inch, signed
inline constexpr std::size_t kSumBHighHeatIndex = 14;       // slot 1
inline constexpr std::size_t kSumBLowHeatIndex = 16;        // slot 2
inline constexpr std::size_t kSumBAvgHeatIndex = 18;
inline constexpr std::size_t kSumBHighThsw = 20;           // slot 5
inline constexpr std::size_t kSumBLowThsw = 22;            // slot 6
inline constexpr std::size_t kSumBHighThw = 24;            // slot 3
inline constexpr std::size_t kSumBLowThw = 26;             // slot 4
inline constexpr std::size_t kSumBHeatingDegreeDays = 28;  // tenths
inline constexpr std::size_t kSumBHighDerived6 = 30;       // slot 7
inline constexpr std::size_t kSumBLowDerived6 = 32;        // slot 8
inline constexpr std::size_t kSumBAvgDerived6 = 34;
inline constexpr std::size_t kSumBWindDirMinutes = 36;     // 24 bytes, 16 counts
inline constexpr std::size_t kSumBTimeSlots = 60;          // 15 bytes, 10 slots
inline constexpr std::size_t kSumBCoolingDegreeDays = 75;  // tenths, odd offset
inline constexpr std::size_t kSumBFurther = 77;            // 5 x i16 at 77..85
inline constexpr std::size_t kSumBTrailingZero = 87;       // u8, 0
inline constexpr int kSumBWindDirCount = 16;
inline constexpr int kSumBTimeSlotCount = 10;
inline constexpr int kSumBFurtherCount = 5;

static_assert(kSumBWindDirMinutes + 3 * kSumBWindDirCount / 2 == kSumBTimeSlots);
static_assert(kSumBTimeSlots + 3 * kSumBTimeSlotCount / 2 == kSumBCoolingDegreeDays);
static_assert(kSumBFurther + 2 * kSumBFurtherCount == kSumBTrailingZero);

enum SummaryBSlot : int {
  kSlotBHighSolar = 0,
  kSlotBHighHeatIndex = 1,
  kSlotBLowHeatIndex = 2,
  kSlotBHighThw = 3,
  kSlotBLowThw = 4,
  kSlotBHighThsw = 5,
  kSlotBLowThsw = 6,
  kSlotBHighDerived6 = 7,
  kSlotBLowDerived6 = 8,
};

// ---------------------------------------------------------------------------------------
// Records: 88 bytes with typed access by offset. Values are read and written through the
// offsets above; the accessors add nothing but the byte order.

class Record88 {
 public:
  Record88() { bytes_.fill(0); }
  explicit Record88(const RecordBytes& bytes) : bytes_(bytes) {}

  std::uint8_t type() const { return bytes_[0]; }
  std::uint8_t u8(std::size_t off) const { return bytes_[off]; }
  std::int16_t i16(std::size_t off) const { return getI16(bytes_, off); }
  std::uint16_t u16(std::size_t off) const { return getU16(bytes_, off); }
  std::uint16_t packed12(std::size_t fieldOffset, int index) const {
    return getPacked12(bytes_, fieldOffset, index);
  }
  void setU8(std::size_t off, std::uint8_t v) { bytes_[off] = v; }
  void setI16(std::size_t off, std::int16_t v) { records::setI16(bytes_, off, v); }
  void setU16(std::size_t off, std::uint16_t v) { records::setU16(bytes_, off, v); }
  void setPacked12(std::size_t fieldOffset, int index, std::uint16_t v) {
    records::setPacked12(bytes_, fieldOffset, index, v);
  }

  const RecordBytes& bytes() const { return bytes_; }
  RecordBytes& bytes() { return bytes_; }
  std::span<const std::byte, kRecordBytes> asBytes() const {
    return std::as_bytes(std::span(bytes_));
  }

  friend bool operator==(const Record88&, const Record88&) = default;

 protected:
  RecordBytes bytes_;
};

// One archive interval.
class ArchiveRecord : public Record88 {
 public:
  // A freshly initialised record: type 1, bytes 1-3 zero, every i16 0x8000 but rain and
  // wind samples (0), every u8 sensor 255.
  ArchiveRecord();
  explicit ArchiveRecord(const RecordBytes& bytes) : Record88(bytes) {}

  int interval() const { return u8(kArcInterval); }
  std::int16_t timeOfDay() const { return i16(kArcTime); }
  void setTimeOfDay(std::int16_t minutes) { setI16(kArcTime, minutes); }
};

class SummaryRecordA : public Record88 {
 public:
  // Initialised: lows 0x7FFF, highs/averages/totals 0x8000, minutes 0, slots 0x7FF.
  SummaryRecordA();
  explicit SummaryRecordA(const RecordBytes& bytes) : Record88(bytes) {}
};

class SummaryRecordB : public Record88 {
 public:
  // Initialised: lows 0x7FFF, highs/averages/totals 0x8000, byte 1 255, slots 0x800,
  // wind-direction minutes 0.
  SummaryRecordB();
  explicit SummaryRecordB(const RecordBytes& bytes) : Record88(bytes) {}
};

// The two summary records that open each day's block.
struct DailySummary {
  SummaryRecordA a;
  SummaryRecordB b;
};

// Offsets of the low fields, which start at 0x7FFF rather than 0x8000.
inline constexpr std::array<std::size_t, 7> kSumALowFields = {
    kSumALowOutsideTemp,     kSumALowInsideTemp,     kSumALowWindChill, kSumALowDewPoint,
    kSumALowOutsideHumidity, kSumALowInsideHumidity, kSumALowBarometer};
inline constexpr std::array<std::size_t, 4> kSumBLowFields = {kSumBLowHeatIndex, kSumBLowThsw,
                                                              kSumBLowThw, kSumBLowDerived6};

// ---------------------------------------------------------------------------------------
// DateTime: a date and time of day carried with every record read (not stored in files).

// year << 16 | month << 8 | day: packed dates compare in calendar order.
constexpr std::int32_t packDate(int year, int month, int day) {
  return static_cast<std::int32_t>((year << 16) | (month << 8) | day);
}
constexpr int packedYear(std::int32_t packed) { return (packed >> 16) & 0xFFFF; }
constexpr int packedMonth(std::int32_t packed) { return (packed >> 8) & 0xFF; }
constexpr int packedDay(std::int32_t packed) { return packed & 0xFF; }
static_assert(packDate(2006, 3, 15) == 0x07D6030F);

inline constexpr std::uint16_t kNoTime = 0xFFFF;

struct DateTime {
  std::uint16_t minutes = kNoTime;  // after midnight, 0 to 1440; 0xFFFF = no time
  std::int16_t hour = 0;            // derived from minutes
  std::int16_t minute = 0;
  std::uint16_t month = 0;
  std::uint16_t day = 0;
  std::uint16_t year = 0;  // four digits
  std::uint8_t valid = 0;

  static DateTime fromDate(int year, int month, int day, std::uint16_t minutes = kNoTime);

  std::int32_t packed() const { return packDate(year, month, day); }
  // Packed value 0 or below clears the date (and the valid flag).
  void setPacked(std::int32_t packed);
  void setDate(int year, int month, int day);
  // Sets minutes and the derived hour and minute (0xFFFF clears both to 0).
  void setMinutes(std::uint16_t minutes);
  // Moves the date one calendar day; the time is kept.
  void nextDay();
  void previousDay();

  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// True when the date names a real calendar day (year 1 to 65535).
bool isValidDate(int year, int month, int day);

}  // namespace records
