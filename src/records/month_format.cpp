#include "records/month_format.h"

#include "platform/clock.h"

namespace records {

ArchiveRecord::ArchiveRecord() {
  bytes_.fill(kNoData8);
  bytes_[kArcType] = kArchiveRecordType;
  bytes_[kArcInterval] = 0;
  bytes_[kArcFlags] = 0;
  bytes_[kArcTransmitter] = 0;
  for (std::size_t off :
       {kArcTime, kArcOutsideTemp, kArcHighOutsideTemp, kArcLowOutsideTemp, kArcInsideTemp,
        kArcBarometer, kArcOutsideHumidity, kArcInsideHumidity, kArcHighRainRate, kArcWindSpeed,
        kArcHighWindSpeed, kArcSolarRadiation, kArcHighSolarRadiation, kArcSolarEstimate}) {
    setI16(off, kNoData16);
  }
  for (int i = 0; i < kReservedCount; ++i) setI16(kArcReserved + 2 * i, kNoData16);
  setU16(kArcRain, 0);
  setI16(kArcWindSamples, 0);
}

SummaryRecordA::SummaryRecordA() {
  for (std::size_t off = 2; off < kSumAHighUvIndex; off += 2) setI16(off, kNoData16);
  bytes_[kSumAType] = kSummaryARecordType;
  bytes_[kSumAZero] = 0;
  setI16(kSumAMinutes, 0);
  for (std::size_t off : kSumALowFields) setI16(off, kLowInit16);
  bytes_[kSumAHighWindDirection] = kNoData8;
  bytes_[kSumAHighWindDirection2] = kNoData8;
  bytes_[kSumAHighUvIndex] = kNoData8;
  for (int i = 0; i < kSumATimeSlotCount; ++i) setPacked12(kSumATimeSlots, i, kSlotNoTimeA);
}

SummaryRecordB::SummaryRecordB() {
  for (std::size_t off = 4; off < kSumBWindDirMinutes; off += 2) setI16(off, kNoData16);
  bytes_[kSumBType] = kSummaryBRecordType;
  bytes_[kSumBMarker] = kNoData8;
  setI16(kSumBZero, 0);
  for (std::size_t off : kSumBLowFields) setI16(off, kLowInit16);
  for (int i = 0; i < kSumBWindDirCount; ++i) setPacked12(kSumBWindDirMinutes, i, 0);
  for (int i = 0; i < kSumBTimeSlotCount; ++i) setPacked12(kSumBTimeSlots, i, kSlotNoTimeB);
  setI16(kSumBCoolingDegreeDays, kNoData16);
  for (int i = 0; i < kSumBFurtherCount; ++i) setI16(kSumBFurther + 2 * i, kNoData16);
  bytes_[kSumBTrailingZero] = 0;
}

bool isValidDate(int year, int month, int day) {
  return year >= 1 && year <= 0xFFFF && month >= 1 && month <= 12 && day >= 1 &&
         day <= platform::daysInMonth(year, month);
}

DateTime DateTime::fromDate(int year, int month, int day, std::uint16_t minutes) {
  DateTime dt;
  dt.setDate(year, month, day);
  dt.setMinutes(minutes);
  return dt;
}

void DateTime::setPacked(std::int32_t packed) {
  if (packed <= 0) {
    year = month = day = 0;
    valid = 0;
    return;
  }
  setDate(packedYear(packed), packedMonth(packed), packedDay(packed));
}

void DateTime::setDate(int y, int m, int d) {
  year = static_cast<std::uint16_t>(y);
  month = static_cast<std::uint16_t>(m);
  day = static_cast<std::uint16_t>(d);
  valid = 1;
}

void DateTime::setMinutes(std::uint16_t m) {
  minutes = m;
  if (m == kNoTime) {
    hour = 0;
    minute = 0;
    return;
  }
  hour = static_cast<std::int16_t>(m / 60);
  minute = static_cast<std::int16_t>(m % 60);
}

void DateTime::nextDay() {
  int y = year, m = month, d = day + 1;
  if (m < 1 || m > 12 || d > platform::daysInMonth(y, m)) {
    d = 1;
    if (++m > 12) {
      m = 1;
      ++y;
    }
  }
  year = static_cast<std::uint16_t>(y);
  month = static_cast<std::uint16_t>(m);
  day = static_cast<std::uint16_t>(d);
}

void DateTime::previousDay() {
  int y = year, m = month, d = day - 1;
  if (d < 1) {
    if (--m < 1) {
      m = 12;
      --y;
    }
    d = platform::daysInMonth(y, m);
  }
  year = static_cast<std::uint16_t>(y);
  month = static_cast<std::uint16_t>(m);
  day = static_cast<std::uint16_t>(d);
}

}  // namespace records
